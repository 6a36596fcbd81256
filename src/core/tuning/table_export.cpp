// The text and HTML exports of a grid, as single-byte text with CR LF line ends.
#include "eeprom/hex.h"
#include "shell/cp1252.h"
#include "tuning/table_files.h"

namespace velarix {

namespace {

// The HTML 4 names of the Latin-1 letters A0h to FFh.
constexpr const char* kEntities[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar",  "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",    "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedille", "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute",  "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",   "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute",  "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",    "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",   "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",   "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",  "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

// A character as the single byte the exports write: channel names hold
// Latin-1 bytes and go out as they came in; other characters in the code page.
void AppendByte(QByteArray& out, QChar c) {
    if (c.unicode() <= 0xFF) {
        out.append(static_cast<char>(c.unicode()));
    } else {
        out.append(ToCp1252(QString(c)));
    }
}

QByteArray Colour(RowColour colour) {
    return HexText(colour & 0xFFFFFF, 6).toLatin1();
}

}  // namespace

QByteArray GridText(const TableRows& grid) {
    QByteArray out;
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (const QString& cell : grid.Row(r).cells) {
            for (QChar c : cell) AppendByte(out, c);
            out.append('\t');
        }
        out.append("\r\n");
    }
    return out;
}

QByteArray HtmlEscaped(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'&') {
            out.append("&amp;");
        } else if (u == u'<') {
            out.append("&lt;");
        } else if (u == u'>') {
            out.append("&gt;");
        } else if (u >= 0xA0 && u <= 0xFF) {
            out.append('&').append(kEntities[u - 0xA0]).append(';');
        } else {
            AppendByte(out, c);
        }
    }
    return out;
}

int HtmlFontSize(int pointSize) {
    if (pointSize <= 5) return 1;
    if (pointSize <= 9) return 2;
    if (pointSize == 10) return 3;
    if (pointSize <= 13) return 4;
    if (pointSize <= 17) return 5;
    if (pointSize <= 21) return 6;
    return 7;
}

QByteArray GridHtml(const TableRows& grid, const HtmlStyle& style) {
    QByteArray out;
    out.append("<table bgcolor=#").append(Colour(style.gridColour)).append(">\r\n");
    QByteArray open, close;
    if (style.bold) open.append("<b>"), close.prepend("</b>");
    if (style.italic) open.append("<i>"), close.prepend("</i>");
    if (style.strikeOut) open.append("<strike>"), close.prepend("</strike>");
    if (style.underline) open.append("<u>"), close.prepend("</u>");
    for (int r = 0; r < grid.RowCount(); ++r) {
        const TableRow& row = grid.Row(r);
        out.append(" <tr>\r\n");
        for (int c = 0; c < TableRow::kColumns; ++c) {
            const bool heading = r == 0 || c == 0;
            out.append(heading ? "  <th" : "  <td").append(" align=center");
            if (!heading && row.colour != style.gridColour)
                out.append(" bgcolor=#").append(Colour(row.colour));
            out.append(">\r\n");
            const QString& text = row.cells[c];
            if (!text.isEmpty()) {
                if (r == 0) {
                    out.append("   <font color=#")
                        .append(Colour(style.headingColour))
                        .append(" size=")
                        .append(QByteArray::number(HtmlFontSize(style.headingPointSize)))
                        .append('>')
                        .append(open)
                        .append(HtmlEscaped(text))
                        .append(close)
                        .append("</font>");
                } else {
                    out.append(HtmlEscaped(text));
                }
            }
            out.append(heading ? "  </th>" : "  </td>");
        }
        out.append(" </tr>\r\n");
    }
    out.append("</table>\r\n");
    return out;
}

}  // namespace velarix
