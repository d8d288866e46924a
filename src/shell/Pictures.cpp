#include "shell/Pictures.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include "shell/ShellTexts.h"
#include "widgets/VarnelFonts.h"

namespace {

QString sourceOf(Pictures::Icon which)
{
    switch (which) {
    case Pictures::Icon::New: return QStringLiteral(":/pictures/new.svg");
    case Pictures::Icon::Cancel: return QStringLiteral(":/pictures/cancel.svg");
    case Pictures::Icon::Save: return QStringLiteral(":/pictures/save.svg");
    case Pictures::Icon::Delete: return QStringLiteral(":/pictures/delete.svg");
    case Pictures::Icon::Back: return QStringLiteral(":/pictures/back.svg");
    case Pictures::Icon::Find: return QStringLiteral(":/pictures/find.svg");
    case Pictures::Icon::Report: return QStringLiteral(":/pictures/report.svg");
    case Pictures::Icon::Warning: return QStringLiteral(":/pictures/warning.svg");
    case Pictures::Icon::Information: return QStringLiteral(":/pictures/information.svg");
    case Pictures::Icon::Question: return QStringLiteral(":/pictures/question.svg");
    case Pictures::Icon::SaveNotice: return QStringLiteral(":/pictures/savenotice.svg");
    case Pictures::Icon::Program: return QStringLiteral(":/pictures/program.svg");
    }
    return {};
}

QPixmap render(const QString& source, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(source);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, QRectF(QPointF(0, 0), size));
    return pixmap;
}

// Text with a dark outline, its baseline's left end at `at`.
void drawOutlined(QPainter& p, const QString& text, const QFont& font, QPointF at,
                  const QColor& fill, const QColor& outline, qreal outlineWidth)
{
    QPainterPath path;
    path.addText(at, font, text);
    p.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
}

QPixmap drawFrontPicture()
{
    QPixmap picture = render(QStringLiteral(":/pictures/front.svg"), Pictures::kFrontSize);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // The product's name fills the yellow band (y 18 to 100) from the left.
    QFont name = varnel::varnelFont(varnel::VarnelFont::Akshara08, 40, true);
    name.setPixelSize(50);
    const QFontMetricsF nameMetrics(name);
    const QString product = shell::productName();
    const qreal nameWidth = nameMetrics.horizontalAdvance(product);
    const qreal baseline = 59 + (nameMetrics.ascent() - nameMetrics.descent()) / 2;
    // A soft shadow, the dark outline, then the red letters.
    drawOutlined(p, product, name, QPointF(18 + 2.5, baseline + 3), QColor(150, 60, 0, 90),
                 QColor(150, 60, 0, 90), 5);
    drawOutlined(p, product, name, QPointF(18, baseline), QColor(222, 20, 12), QColor(60, 10, 0),
                 4.5);

    QFont version = varnel::varnelFont(varnel::VarnelFont::Akshara08, 14, true);
    version.setPixelSize(19);
    p.setFont(version);
    p.setPen(QColor(120, 20, 0));
    p.drawText(QPointF(18 + nameWidth + 14, baseline), shell::versionText());

    QFont maker = varnel::varnelFont(varnel::VarnelFont::Akshara, 9);
    maker.setPixelSize(13);
    p.setFont(maker);
    p.setPen(QColor(90, 30, 0));
    const QRectF makerBox(214, 258, 146, 22);
    p.drawText(makerBox, Qt::AlignRight | Qt::AlignVCenter, shell::teamName());
    return picture;
}

} // namespace

QPixmap Pictures::icon(Icon which)
{
    static QHash<int, QPixmap> cache;
    const int key = static_cast<int>(which);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, render(sourceOf(which), kIconSize));
    return *it;
}

QIcon Pictures::programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(render(sourceOf(Icon::Program), QSize(size, size)));
    return icon;
}

QPixmap Pictures::frontPicture()
{
    static const QPixmap picture = drawFrontPicture();
    return picture;
}

QCursor Pictures::arrowPointer()
{
    static const QPixmap arrow = render(QStringLiteral(":/pictures/arrow.svg"), QSize(32, 32));
    // The tip of the arrow lies at (1.5, 1.5) of the drawing.
    return QCursor(arrow, 1, 1);
}
