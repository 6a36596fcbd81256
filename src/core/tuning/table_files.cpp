// Table files: the sections of a flash image, loading a flash image or a RAM
// table, merging a second flash image, rebuilding the image from the tables
// and saving it.
#include "tuning/table_files.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/settings.h"
#include "shell/whole_file.h"

namespace velarix {

namespace {

constexpr int kTagOffset = 32;
constexpr int kSecondTagOffset = 48;
constexpr int kLastTagByte = 51;  // a section needs p + 51 bytes
constexpr std::int64_t kChannelWipe = 60075;
constexpr std::int64_t kTransponderWipe = 1551;

// The lowest p >= from at which `tag` is recognised. Runs over whole images
// on every load and save, so it looks for the tag's first letter with memchr.
std::optional<std::int64_t> FindFrom(const char* tag, std::int64_t from, const QByteArray& image) {
    const char* bytes = image.constData();
    const std::int64_t last = image.size() - kLastTagByte;  // the last p that fits
    std::int64_t p = std::max<std::int64_t>(from, 0);
    while (p <= last) {
        const void* hit =
            std::memchr(bytes + p + kTagOffset, tag[0], static_cast<std::size_t>(last - p + 1));
        if (!hit) return std::nullopt;
        p = static_cast<const char*>(hit) - bytes - kTagOffset;
        if (std::memcmp(bytes + p + kTagOffset, tag, 3) == 0 &&
            std::memcmp(bytes + p + kSecondTagOffset, tag, 3) == 0) {
            return p;
        }
        ++p;
    }
    return std::nullopt;
}

std::int64_t BlockOf(std::int64_t position) {
    return position - position % kBlockSize;
}

struct Found {
    QStringList addresses;  // as the chooser lists them
    std::optional<std::int64_t> chosen;
};

// Every section of `tag`, one per block, and the one to use: the only one, or
// the one the person picks in the section chooser (the first when the frame
// gives no answer, as the chooser opens on its first row and has no Cancel).
Found FindAndChoose(const char* tag, int digits, const QByteArray& image, OperationFrame& frame) {
    Found found;
    QStringList choices;
    for (auto p = FindSection(tag, 0, image); p;
         p = FindSection(tag, BlockOf(*p) + kBlockSize, image)) {
        found.addresses << HexText(static_cast<std::uint64_t>(*p), digits);
        choices << found.addresses.last() + QLatin1Char('\t') + QLatin1String(tag);
    }
    if (found.addresses.isEmpty()) return found;
    int pick = 0;
    if (found.addresses.size() > 1) {
        pick = frame.ChooseFromList(Msg(171), Msg(172), choices);
        if (pick < 0 || pick >= found.addresses.size()) pick = 0;
    }
    found.chosen = HexToInt(found.addresses[pick]);
    return found;
}

SectionPlace PlaceOf(std::int64_t address) {
    return {BlockOf(address), address % kBlockSize};
}

// The bytes of the two sections that stay; wiping a stale section never
// reaches into them.
struct Span {
    std::int64_t from, to;
};

void Wipe(QByteArray& image, std::int64_t from, std::int64_t length,
          const std::array<Span, 2>& kept) {
    std::int64_t end = std::min<std::int64_t>(from + length, image.size());
    std::vector<Span> pieces{{from, end}};
    for (const Span& keep : kept) {
        std::vector<Span> rest;
        for (const Span& piece : pieces) {
            if (keep.to <= piece.from || keep.from >= piece.to) {
                rest.push_back(piece);
                continue;
            }
            if (piece.from < keep.from) rest.push_back({piece.from, keep.from});
            if (keep.to < piece.to) rest.push_back({keep.to, piece.to});
        }
        pieces = std::move(rest);
    }
    for (const Span& piece : pieces) {
        if (piece.to > piece.from)
            std::fill(image.begin() + piece.from, image.begin() + piece.to, '\0');
    }
}

// Wipes every section of `tag` but the one at `keep`, visiting the windows
// 0, 10000h, 20000h, ... once each and taking the first section from there on.
void WipeStaleSections(QByteArray& image, const char* tag, std::int64_t keep, std::int64_t length,
                       const std::array<Span, 2>& kept) {
    std::int64_t cursor = 0;
    for (std::int64_t s = 0; s < image.size(); s += kBlockSize) {
        const auto p = FindFrom(tag, std::max(s, cursor), image);
        if (!p) return;
        if (*p == keep) {
            cursor = *p;
            continue;
        }
        Wipe(image, *p % kBlockSize == 0 ? *p : *p + kTagOffset, length, kept);
        cursor = *p + 1;
    }
}

QString MergeLabel(const SectionPlace& place) {
    return HexText(static_cast<std::uint64_t>(place.block / kBlockSize), 1) + QStringLiteral(" (") +
           HexText(static_cast<std::uint64_t>(place.block), 5) + QLatin1Char(')');
}

}  // namespace

QString SectionLabel(const SectionPlace& place) {
    const std::int64_t address = place.offset == 0 ? place.block : place.Start() + kTagOffset;
    return HexText(static_cast<std::uint64_t>(place.block / kBlockSize), 2) + QStringLiteral(" (") +
           HexText(static_cast<std::uint64_t>(address), 6) + QLatin1Char(')');
}

std::optional<std::int64_t> FindSectionInWindow(const char* tag, std::int64_t windowStart,
                                                const QByteArray& image) {
    const auto p = FindFrom(tag, windowStart, image);
    if (p && *p <= windowStart + 0xFFFF) return p;
    return std::nullopt;
}

std::optional<std::int64_t> FindSection(const char* tag, std::int64_t start,
                                        const QByteArray& image) {
    if (start < 0 || start >= image.size()) return std::nullopt;
    return FindFrom(tag, start, image);
}

// ---- Loading

void ChannelTables::SetPlaces(SectionPlace tcs, SectionPlace tpt) {
    tcs_ = tcs;
    tpt_ = tpt;
}

void ChannelTables::ShowPositionsInLists() {
    const auto position = [](const SectionPlace& place) {
        const std::int64_t item = place.block / kBlockSize;
        return item < TablePositionEntries().size() ? static_cast<int>(item) : -1;
    };
    settings_.tcs = position(tcs_);
    settings_.tpt = position(tpt_);
    emit PositionsChosen();
}

SectionsResult ChannelTables::LoadSections(const QByteArray& image, bool append,
                                           OperationFrame& frame) {
    const Found channels = FindAndChoose("TCS", 6, image, frame);
    const Found transponders = FindAndChoose("TPT", 2, image, frame);
    if (!channels.chosen) return SectionsResult::NoChannelSection;
    if (!transponders.chosen) return SectionsResult::NoTransponderSection;

    ramMode_ = false;
    SetPlaces(PlaceOf(*channels.chosen), PlaceOf(*transponders.chosen));
    tcsLabel_ = SectionLabel(tcs_);
    tptLabel_ = SectionLabel(tpt_);
    ShowPositionsInLists();
    const int firstNewTransponder = append ? FirstFreeTransponderRow() : 0;
    ParseTransponderRecords(image, tpt_.Records(), append);
    ParseChannelRecords(image, tcs_.Records(), append, firstNewTransponder);
    emit StateChanged();
    if (!append) emit TableLoaded(TableKind::FlashImage);
    return SectionsResult::Loaded;
}

void ChannelTables::LoadRamTable() {
    ramMode_ = true;
    ParseChannelRecords(TableImage(), 0, false, 0);
    tcsLabel_ = QStringLiteral("RAM");
    tptLabel_.clear();
    emit StateChanged();
    emit TableLoaded(TableKind::RamTable);
}

bool ChannelTables::LoadTable(QByteArray bytes, TableKind kind, OperationFrame& frame) {
    SetTableImage(std::move(bytes));
    if (kind == TableKind::RamTable) {
        LoadRamTable();
        return true;
    }
    const SectionsResult result = TableImage().size() <= kBlockSize
                                      ? SectionsResult::NoChannelSection
                                      : LoadSections(TableImage(), false, frame);
    if (result == SectionsResult::Loaded) return true;
    frame.ShowMessage(BoxKind::Error,
                      Msg(result == SectionsResult::NoTransponderSection ? 196 : 197));
    ReleaseTableImage();
    ClearTables();
    return false;
}

bool ChannelTables::MergeTable(const QByteArray& bytes, OperationFrame& frame) {
    const SectionPlace tcs = tcs_, tpt = tpt_;
    const SectionsResult result = LoadSections(bytes, true, frame);
    if (result != SectionsResult::Loaded) {
        frame.ShowMessage(BoxKind::Error,
                          Msg(result == SectionsResult::NoTransponderSection ? 196 : 197));
    } else if (detachedByMerge_ > 0) {
        frame.ShowMessage(BoxKind::Information, Msg(439).arg(detachedByMerge_));
    }
    SetPlaces(tcs, tpt);
    tcsLabel_ = MergeLabel(tcs_);
    tptLabel_ = MergeLabel(tpt_);
    ShowPositionsInLists();
    emit StateChanged();
    return result == SectionsResult::Loaded;
}

// ---- Rebuilding

std::int64_t ChannelTables::ChosenBlock(int position, std::int64_t current) const {
    // A list with nothing selected (a section found past the listed blocks)
    // leaves the section where it is.
    if (position < 0 || position >= TablePositionEntries().size()) return current;
    return HexToInt(TablePositionEntries()[position]);
}

std::optional<QString> ChannelTables::RebuildImage() {
    if (!image_) return Msg(195);
    const QByteArray& image = *image_;
    QByteArray w = image;
    SectionPlace places[2] = {tcs_, tpt_};
    QString labels[2] = {tcsLabel_, tptLabel_};
    const int positions[2] = {settings_.tcs, settings_.tpt};
    const std::int64_t sizes[2] = {
        std::int64_t{channels_.RecordCount()} * kChannelRecordSize,
        std::int64_t{transponders_.RecordCount()} * kTransponderRecordSize};
    const int listCaptions[2] = {136, 137};

    for (int i = 0; i < 2; ++i) {
        SectionPlace& place = places[i];
        const std::int64_t n = ChosenBlock(positions[i], place.block);
        if (n == place.block) continue;
        // A section moves only to a place where it fits whole.
        if (n < 0 || n + kSectionHeaderSize + sizes[i] > w.size()) {
            return Msg(372) + QLatin1Char('\n') + Msg(listCaptions[i]) + QLatin1Char(' ') +
                   TablePositionEntries()[positions[i]];
        }
        const std::int64_t from = place.Start();
        const std::int64_t count =
            std::clamp<std::int64_t>(image.size() - from, 0, kSectionHeaderSize);
        std::copy_n(image.constData() + from, count, w.data() + n);
        place.block = n;
        if (place.offset > 0) {
            w[static_cast<qsizetype>(n)] = '\x20';
            std::fill_n(w.data() + n + 1, 31, '\0');
            place.offset = 0;
        }
        labels[i] = SectionLabel(place);
    }

    if (auto error = BuildChannelRecords(w, places[0].Records())) return error;
    if (auto error = BuildTransponderRecords(w, places[1].Records())) return error;

    const std::array<Span, 2> kept{Span{places[0].Start(), places[0].Records() + sizes[0]},
                                   Span{places[1].Start(), places[1].Records() + sizes[1]}};
    WipeStaleSections(w, "TPT", places[1].Start(), kTransponderWipe, kept);
    WipeStaleSections(w, "TCS", places[0].Start(), kChannelWipe, kept);

    image_ = std::move(w);
    SetPlaces(places[0], places[1]);
    tcsLabel_ = labels[0];
    tptLabel_ = labels[1];
    emit StateChanged();
    return std::nullopt;
}

std::optional<QString> ChannelTables::PrepareImage() {
    if (!image_) return Msg(195);
    if (!ramMode_) return RebuildImage();
    QByteArray w = *image_;
    if (auto error = BuildChannelRecords(w, 0)) return error;
    image_ = std::move(w);
    return std::nullopt;
}

// ---- Saving

std::optional<QString> SaveTableImage(ChannelTables& tables, const QString& path) {
    if (auto error = tables.PrepareImage()) return error;
    if (auto error = WriteWholeFile(path, tables.TableImage()))
        return Msg(371) + QLatin1Char('\n') + *error;
    return std::nullopt;
}

std::optional<QString> SaveTables(ChannelTables& tables, const QString& path, SaveKind kind,
                                  const TableRows& gridOnShow, const HtmlStyle& style) {
    if (kind == SaveKind::TableImage) return SaveTableImage(tables, path);
    const QByteArray bytes =
        kind == SaveKind::Text ? GridText(gridOnShow) : GridHtml(gridOnShow, style);
    if (auto error = WriteWholeFile(path, bytes)) return Msg(371) + QLatin1Char('\n') + *error;
    return std::nullopt;
}

SaveKind SaveKindOfFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("txt")) return SaveKind::Text;
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html")) return SaveKind::Html;
    return SaveKind::TableImage;
}

std::variant<QByteArray, QString> ChannelTables::FlashImageToSend() {
    if (!HasTable()) return Msg(195);
    if (RamMode()) return Msg(194);
    if (auto error = RebuildImage()) return *std::move(error);
    return TableImage();
}

std::variant<QByteArray, QString> ChannelTables::RamImageToSend(int size) const {
    if (!HasTable() || !RamMode()) return Msg(195);
    QByteArray image = TableImage().left(size);
    image.append(QByteArray(size - image.size(), '\0'));
    if (auto error = BuildChannelRecords(image, 0)) return *std::move(error);
    return image;
}

SaveKind SaveKindOfFilter(int filterIndex) {
    return filterIndex == 4   ? SaveKind::Text
           : filterIndex == 5 ? SaveKind::Html
                              : SaveKind::TableImage;
}

}  // namespace velarix
