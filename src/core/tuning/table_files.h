#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "tuning/channel_tables.h"

namespace velarix {

// Flash images hold each table as a tagged section: a 32-byte block prefix,
// two 16-byte tag fields that begin with "TCS" (channels) or "TPT"
// (transponders), 4 carried bytes, then the records. A section is recognised
// at p when both tag fields, at p+32 and p+48, begin with the tag.

// The lowest p from `windowStart` to `windowStart` + FFFFh (and p + 51 within
// the image) at which `tag` is recognised.
std::optional<std::int64_t> FindSectionInWindow(const char* tag, std::int64_t windowStart,
                                                const QByteArray& image);
// The first section found in the windows `start`, `start` + 10000h, ...
std::optional<std::int64_t> FindSection(const char* tag, std::int64_t start,
                                        const QByteArray& image);

// "Guardar como...": the table image (rebuilt), or the grid on show as text or
// HTML. The file is written whole or not at all; the message to show when it
// could not be written, or when the image could not be rebuilt.
enum class SaveKind { TableImage, Text, Html };
std::optional<QString> SaveTableImage(ChannelTables& tables, const QString& path);
struct HtmlStyle;
std::optional<QString> SaveTables(ChannelTables& tables, const QString& path, SaveKind kind,
                                  const TableRows& gridOnShow, const HtmlStyle& style);
// The kind of save a file type of the "Guardar como..." filter (counted from
// 1) asks for: 4 text, 5 HTML, the others the table image.
SaveKind SaveKindOfFilter(int filterIndex);
// The kind of save a file name asks for: ".txt" text, ".htm" or ".html" HTML,
// anything else the table image.
SaveKind SaveKindOfFileName(const QString& path);

// How the heading row of an HTML export is drawn.
struct HtmlStyle {
    RowColour gridColour = kWhite;
    RowColour headingColour = 0x000000;
    int headingPointSize = 8;
    bool bold = false, italic = false, strikeOut = false, underline = false;
};

// Text export: one line per grid row, every column followed by a TAB, CR LF.
QByteArray GridText(const TableRows& grid);
// HTML export: the grid as one table, coloured rows with their colour.
QByteArray GridHtml(const TableRows& grid, const HtmlStyle& style = {});
// The HTML font size (1 to 7) of a point size.
int HtmlFontSize(int pointSize);
// A cell's text with &, <, > and the Latin-1 letters A0h-FFh as entities.
QByteArray HtmlEscaped(const QString& text);

}  // namespace velarix
