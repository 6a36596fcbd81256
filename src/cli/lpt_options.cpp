#include "lpt_options.h"

#include "lpt/port_backend.h"

namespace velarix::cli {

std::optional<QString> TakeLptOptions(CliContext& context, LptChoice& choice) {
    choice.base = ParallelBaseAt(context.settings.parallel);
    if (context.Rest().contains(QStringLiteral("--lpt")) &&
        context.Rest().indexOf(QStringLiteral("--lpt")) + 1 >= context.Rest().size()) {
        return QStringLiteral("--lpt needs a PORT");
    }
    const auto portName = context.TakeOption("--lpt");
    if (!portName) return std::nullopt;
    if (!IsPortSpec(*portName, &choice.base)) return LptFault(*portName);
    choice.portName = *portName;
    return std::nullopt;
}

QString LptFault(const QString& portName) {
    return QStringLiteral(
               "--lpt takes 278, 378, 3BC, A068, 2000, /dev/parportN, unix:PATH or sim, not ") +
           portName;
}

}  // namespace velarix::cli
