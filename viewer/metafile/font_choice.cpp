#include "viewer/metafile/font_choice.h"

#include <QRawFont>

#include <array>
#include <optional>

#include "viewer/metafile/metafile_strings.h"

namespace vimbrel::font_choice {
namespace {

// The kinds of face a metafile may ask for, each drawn by families the tool
// installs (fonts-liberation2, fonts-noto-cjk, fonts-dejavu-core).
enum class Kind
{
    Sans,
    Serif,
    Mono,
    Symbol,   // Symbol-coded text, mapped to the characters it stands for
    Dingbats, // pictures for letters
    GothicMono,
    Gothic,
    Mincho,
};

QStringList familiesOf(Kind kind)
{
    switch (kind) {
    case Kind::Sans:
        return {"Liberation Sans"};
    case Kind::Serif:
        return {"Liberation Serif"};
    case Kind::Mono:
        return {"Liberation Mono"};
    case Kind::Symbol:
        return {"Liberation Serif", "DejaVu Serif"};
    case Kind::Dingbats:
        return {"DejaVu Sans"};
    case Kind::GothicMono:
        return {"Noto Sans Mono CJK JP"};
    case Kind::Gothic:
        return {"Noto Sans CJK JP"};
    case Kind::Mincho:
        return {"Noto Serif CJK JP"};
    }
    return {};
}

struct Face
{
    const char16_t* name;
    Kind kind;
};

// The faces metafiles name, with the kind that draws each: the Windows core
// fonts by their metric twins, the others by their look.
constexpr std::array kFaces = {
    Face{u"Arial", Kind::Sans},
    Face{u"Helvetica", Kind::Sans},
    Face{u"Arial Narrow", Kind::Sans},
    Face{u"MS Sans Serif", Kind::Sans},
    Face{u"Microsoft Sans Serif", Kind::Sans},
    Face{u"System", Kind::Sans},
    Face{u"Small Fonts", Kind::Sans},
    Face{u"Tahoma", Kind::Sans},
    Face{u"Verdana", Kind::Sans},
    Face{u"Calibri", Kind::Sans},
    Face{u"Carlito", Kind::Sans},
    Face{u"Segoe UI", Kind::Sans},
    Face{u"Impact", Kind::Sans},
    Face{u"Comic Sans MS", Kind::Sans},
    Face{u"Times New Roman", Kind::Serif},
    Face{u"Times", Kind::Serif},
    Face{u"MS Serif", Kind::Serif},
    Face{u"Century", Kind::Serif},
    Face{u"Century Schoolbook", Kind::Serif},
    Face{u"Garamond", Kind::Serif},
    Face{u"Bookman Old Style", Kind::Serif},
    Face{u"Book Antiqua", Kind::Serif},
    Face{u"Georgia", Kind::Serif},
    Face{u"Cambria", Kind::Serif},
    Face{u"Courier New", Kind::Mono},
    Face{u"Courier", Kind::Mono},
    Face{u"Fixedsys", Kind::Mono},
    Face{u"Terminal", Kind::Mono},
    Face{u"Lucida Console", Kind::Mono},
    Face{u"Consolas", Kind::Mono},
    Face{u"Symbol", Kind::Symbol},
    Face{u"MT Extra", Kind::Symbol},
    Face{u"Wingdings", Kind::Dingbats},
    Face{u"Webdings", Kind::Dingbats},
    Face{u"MS Gothic", Kind::GothicMono},
    Face{u"ＭＳ ゴシック", Kind::GothicMono},
    Face{u"MS PGothic", Kind::Gothic},
    Face{u"ＭＳ Ｐゴシック", Kind::Gothic},
    Face{u"MS UI Gothic", Kind::Gothic},
    Face{u"Meiryo", Kind::Gothic},
    Face{u"メイリオ", Kind::Gothic},
    Face{u"MS Mincho", Kind::Mincho},
    Face{u"ＭＳ 明朝", Kind::Mincho},
    Face{u"MS PMincho", Kind::Mincho},
    Face{u"ＭＳ Ｐ明朝", Kind::Mincho},
};

// Character sets that choose Japanese families for a face not in the table.
constexpr uint8_t kShiftJisCharset = 128;

// A face not in the table, by the font's family bits (roman, swiss, modern,
// script, decorative), its pitch, and its character set.
Kind fallbackKind(const GdiFont& font)
{
    if (metafile_strings::usesSymbolCoding(font.charset, font.face)) {
        return Kind::Symbol;
    }
    if (font.charset == kShiftJisCharset) {
        return (font.pitchAndFamily >> 4) == 1 ? Kind::Mincho : Kind::Gothic;
    }
    switch (font.pitchAndFamily >> 4) {
    case 1: // roman
    case 4: // script
        return Kind::Serif;
    case 3: // modern
        return Kind::Mono;
    case 2: // swiss
    case 5: // decorative
        return Kind::Sans;
    default:
        return (font.pitchAndFamily & 3) == 1 ? Kind::Mono : Kind::Sans; // fixed pitch
    }
}

// The font's grid-fitting and smoothing flags for `ppem` pixels to the em,
// from its 'gasp' table; nothing where it has none or one of another form.
std::optional<uint16_t> gaspFlags(const QByteArray& gasp, int ppem)
{
    const auto word = [&gasp](int at) {
        return uint16_t((uint8_t(gasp[at]) << 8) | uint8_t(gasp[at + 1]));
    };
    if (gasp.size() < 4 || word(0) > 1) {
        return std::nullopt;
    }
    const int ranges = word(2);
    if (gasp.size() < 4 + ranges * 4) {
        return std::nullopt;
    }
    uint16_t flags = 0;
    for (int i = 0; i < ranges; ++i) {
        flags = word(4 + i * 4 + 2);
        if (ppem <= word(4 + i * 4)) {
            break;
        }
    }
    return flags;
}

constexpr uint16_t kGaspDoGray = 0x0002;

} // namespace

bool smoothed(const QFont& font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    const std::optional<uint16_t> flags =
        raw.isValid() ? gaspFlags(raw.fontTable("gasp"), font.pixelSize()) : std::nullopt;
    return !flags || (*flags & kGaspDoGray) != 0;
}

QStringList familiesFor(const GdiFont& font)
{
    const QString face = font.face.trimmed();
    Kind kind = fallbackKind(font);
    for (const Face& known : kFaces) {
        if (face.compare(QString::fromUtf16(known.name), Qt::CaseInsensitive) == 0) {
            kind = known.kind;
            break;
        }
    }
    // Characters the chosen family lacks come from these, in this order, and
    // never from whatever else the machine has.
    QStringList families = familiesOf(kind);
    for (const char* wide : {"Noto Sans CJK JP", "DejaVu Sans"}) {
        if (!families.contains(wide)) {
            families << wide;
        }
    }
    return families;
}

} // namespace vimbrel::font_choice
