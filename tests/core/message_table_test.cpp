#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "shell/message_keys.h"
#include "shell/message_table.h"

namespace velarix {
namespace {

// The keys of the original table; later texts have keys above 368.
TEST(MessageKeys, AreZeroTo368WithoutFourGaps) {
    std::set<int> keys;
    std::size_t original = 0;
    for (const auto& d : MessageDefaults()) {
        keys.insert(d.key);
        if (d.key <= 368) ++original;
    }
    EXPECT_EQ(original, 365u);
    EXPECT_EQ(keys.size(), MessageDefaults().size());  // no key twice
    for (int k = 0; k <= 368; ++k) {
        const bool gap = k == 57 || k == 218 || k == 326 || k == 327;
        EXPECT_EQ(keys.count(k), gap ? 0u : 1u) << k;
        EXPECT_EQ(MessageTable::IsKey(k), !gap) << k;
    }
    EXPECT_TRUE(MessageTable::IsKey(369));  // "'%s' is not a valid integer value"
    for (int k = 380; k <= 389; ++k) EXPECT_TRUE(MessageTable::IsKey(k)) << k;
    EXPECT_FALSE(MessageTable::IsKey(-1));
}

TEST(MessageKeys, DefaultsAreAscendingForLookup) {
    int last = -1;
    for (const auto& d : MessageDefaults()) {
        EXPECT_GT(d.key, last);
        last = d.key;
    }
}

TEST(MessageKeys, TwoHundredSixFeedTheMessageTable) {
    std::set<int> messageKeys;
    for (const auto& t : TextTargets()) {
        if (t.kind == TextTarget::Kind::Message && t.key <= 368) messageKeys.insert(t.key);
        EXPECT_TRUE(MessageTable::IsKey(t.key)) << t.key;
    }
    EXPECT_EQ(messageKeys.size(), 196u);
}

TEST(MessageKeys, EveryKeyButTheHiddenLabelHasATarget) {
    std::set<int> targeted;
    for (const auto& t : TextTargets()) targeted.insert(t.key);
    for (const auto& d : MessageDefaults()) {
        if (d.key == 140) continue;  // feeds a label that is never shown
        EXPECT_EQ(targeted.count(d.key), 1u) << d.key;
    }
}

TEST(MessageTable, SpanishDefaultsKeepTheirBlanks) {
    MessageTable table;
    EXPECT_EQ(table.Text(0), QStringLiteral(", código: "));
    EXPECT_EQ(table.Text(10), QStringLiteral(" es incorrecta."));
    EXPECT_EQ(table.Text(19), QStringLiteral("Se ha llegado al limite de reintentos. "));
    EXPECT_EQ(table.Text(25), QStringLiteral("Se ha llegado al límite de reintentos. "));
    EXPECT_EQ(table.Text(77), QStringLiteral("Velocidad : "));
    EXPECT_EQ(table.Text(219), QStringLiteral(" Transpondedor "));
    EXPECT_EQ(table.Text(222), QStringLiteral(" JTag "));
    EXPECT_EQ(table.Text(123),
              QStringLiteral("¡Código de CPU erroneo!  Comprueba que el decodificador esté "
                             "encendido y que el jtag esté bien construido."));
    EXPECT_EQ(table.Text(7), QStringLiteral("Archivo de Texto Velarix (TXT)|*.txt|Archivo de Texto "
                                            "Zefiro9 (TXT)|*.txt|Archivo Binario (BIN)|*.bin"));
    EXPECT_EQ(table.Text(351),
              QStringLiteral("Pulsa el botón derecho del ratón para guardar el log"));
    EXPECT_EQ(table.Text(368), QStringLiteral("Intercambiar..."));
    EXPECT_FALSE(table.Text(105).isEmpty());
}

TEST(MessageTable, ReplacedTextsLastUntilReset) {
    MessageTable table;
    table.SetText(50, QStringLiteral("Settings"));
    table.SetText(57, QStringLiteral("not a key"));
    EXPECT_EQ(table.Text(50), QStringLiteral("Settings"));
    EXPECT_EQ(table.Text(57), QString());
    table.ResetToDefaults();
    EXPECT_EQ(table.Text(50), QStringLiteral("Configuración"));
}

TEST(MessageKeys, TargetsNameTheControlsTheyCaption) {
    auto has = [](int key, TextTarget::Kind kind, const char* object, int index) {
        for (const auto& t : TextTargets()) {
            if (t.key == key && t.kind == kind &&
                QLatin1String(t.object) == QLatin1String(object) && t.index == index)
                return true;
        }
        return false;
    };
    using K = TextTarget::Kind;
    EXPECT_TRUE(has(47, K::Caption, "TabSheet1", -1));
    EXPECT_TRUE(has(47, K::Caption, "RadioButton18", -1));
    EXPECT_TRUE(has(63, K::ListEntry, "ComboBox5", 0));
    EXPECT_TRUE(has(190, K::GridHeader, "StringAlignGrid3", 7));
    EXPECT_TRUE(has(190, K::Message, "", -1));
    EXPECT_TRUE(has(351, K::Hint, "Memo4", -1));
    EXPECT_TRUE(has(110, K::Caption, "GuardarComo3", -1));
    EXPECT_TRUE(has(304, K::ListEntry, "ComboBox49", 8));
}

}  // namespace
}  // namespace velarix
