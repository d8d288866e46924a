#include "widgets/VarnelFonts.h"

#include <QStringList>

namespace varnel {
namespace {

// One row per Varnel font: the installed faces (first choice, then fallbacks) and how much to
// shrink them. Unicode Kannada faces draw taller stacks than the Varnel glyphs at the same point
// size; the factor keeps the text inside the documented control sizes.
struct FaceChoice {
    const char* families[3];
    qreal scale;
};

const FaceChoice& faceFor(VarnelFont role)
{
    static const FaceChoice body{{"Noto Sans Kannada", "Lohit Kannada", "Gubbi"}, 0.85};
    static const FaceChoice captions{{"Lohit Kannada", "Noto Sans Kannada", "Gubbi"}, 0.9};
    static const FaceChoice titles{{"Noto Serif Kannada", "Noto Sans Kannada", "Gubbi"}, 0.85};
    switch (role) {
    case VarnelFont::Akshara02: return captions;
    case VarnelFont::Akshara08: return titles;
    case VarnelFont::Akshara: break;
    }
    return body;
}

} // namespace

QFont varnelFont(VarnelFont role, qreal pointSize, bool bold)
{
    const FaceChoice& face = faceFor(role);
    QStringList families;
    for (const char* f : face.families)
        families << QString::fromLatin1(f);
    QFont font(families.first());
    font.setFamilies(families);
    font.setPointSizeF(pointSize * face.scale);
    font.setBold(bold);
    return font;
}

QFont varnelFont(const QString& fontName, qreal pointSize, bool bold)
{
    const QString name = fontName.trimmed();
    VarnelFont role = VarnelFont::Akshara;
    if (name.compare(QLatin1String("Varnel Akshara-02"), Qt::CaseInsensitive) == 0)
        role = VarnelFont::Akshara02;
    else if (name.compare(QLatin1String("Varnel Akshara-08"), Qt::CaseInsensitive) == 0)
        role = VarnelFont::Akshara08;
    return varnelFont(role, pointSize, bold);
}

} // namespace varnel
