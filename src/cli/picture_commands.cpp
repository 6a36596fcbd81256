#include "picture_commands.h"

#include "output_file.h"
#include "picture/picture_decoder.h"
#include "picture/picture_files.h"
#include "shell/whole_file.h"

namespace velarix::cli {

namespace {

constexpr qint64 kFrameBytesUsed = 640000;

struct PictureArgs {
    QString in, out;
    int width, height;
    PictureShape shape;
    bool jpeg;
    int quality;
};

// The settings give what the options leave out.
std::optional<QString> TakePictureArgs(CliContext& context, PictureArgs& args) {
    const Settings& s = context.settings;
    args.width = s.pictureWidth;
    args.height = s.pictureHeight;
    args.shape = s.pictureShape == 1   ? PictureShape::Wide
                 : s.pictureShape == 0 ? PictureShape::Standard
                                       : PictureShape::Original;
    args.quality = static_cast<int>(s.sliders[kCalidadJPEG]);
    const auto in = context.TakeOption("-i");
    const auto out = context.TakeOption("-o");
    const auto size = context.TakeOption("--size");
    const auto shape = context.TakeOption("--shape");
    const auto format = context.TakeOption("--format");
    const auto quality = context.TakeOption("--quality");
    if (!in || !out) return QStringLiteral("picture decode needs -i DUMP and -o FILE");
    args.in = *in;
    args.out = *out;
    if (size) {
        const QString entry = QString(*size).replace(QLatin1Char('x'), QStringLiteral(" x "));
        if (!PictureSizeEntries().contains(entry))
            return QStringLiteral("--size takes 352x576, 528x576, 544x576, 704x576 or 720x576");
        args.width = entry.left(3).toInt();
        args.height = entry.mid(6, 3).toInt();
    }
    if (shape) {
        static const QStringList shapes{"16:9", "4:3", "original"};
        const qsizetype at = shapes.indexOf(*shape);
        if (at < 0) return QStringLiteral("--shape takes 16:9, 4:3 or original");
        args.shape = static_cast<PictureShape>(at);
    }
    const QString kind = format.value_or(args.out.section(QLatin1Char('.'), -1).toLower());
    if (kind != QLatin1String("bmp") && kind != QLatin1String("jpeg") &&
        kind != QLatin1String("jpg")) {
        return QStringLiteral("give --format bmp or jpeg, or name the file .bmp or .jpg");
    }
    args.jpeg = kind != QLatin1String("bmp");
    if (quality) {
        bool ok = false;
        args.quality = quality->toInt(&ok);
        if (!ok || args.quality < 1 || args.quality > 100)
            return QStringLiteral("--quality takes 1 to 100");
    }
    if (!context.Rest().isEmpty())
        return QStringLiteral("unexpected argument: ") + context.Rest().first();
    return std::nullopt;
}

}  // namespace

int PictureDecode(CliContext& context) {
    PictureArgs args{};
    if (const auto fault = TakePictureArgs(context, args)) return context.BadUsage(*fault);
    // Only the first 640,000 bytes of a dump are ever decoded.
    const FileRead dump = ReadFileHead(args.in, kFrameBytesUsed);
    if (!dump.ok()) {
        context.err() << dump.error << Qt::endl;
        return kBadUsage;
    }
    const QImage picture =
        ShapePicture(DecodePicture(dump.bytes, args.width, args.height), args.shape);
    return WriteOutputThrough(context, args.out, [&](const QString& path) {
        return args.jpeg ? SaveJpeg(picture, path, args.quality) : SaveBmp(picture, path);
    });
}

}  // namespace velarix::cli
