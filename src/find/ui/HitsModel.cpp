#include "find/ui/HitsModel.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

#include "find/ui/FindTexts.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/ui/RegisterWindowLayout.h"
#include "shell/frmMenu.h"

namespace find {

namespace {

// A long field shows from a little before its match, so the match is in sight.
constexpr qsizetype kLead = 24;

int menuIndex(data::Register which)
{
    return which == data::Register::Local ? 0 : which == data::Register::Outstation ? 1 : 2;
}

// The text as one line, from shortly before the match; `start` follows the cut.
QString shownText(const FindHit& hit, qsizetype& start)
{
    QString text = hit.text;
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    start = hit.matchStart;
    if (start > kLead + 8) {
        // Cut at a space near the lead, so no letter is broken.
        qsizetype cut = text.lastIndexOf(QLatin1Char(' '), start - kLead);
        if (cut < 0 || cut < start - 2 * kLead)
            cut = text.lastIndexOf(QLatin1Char(' '), start - 1);
        if (cut > 0) {
            text = QStringLiteral(u"…") + text.mid(cut);
            start -= cut - 1;
        }
    }
    return text;
}

} // namespace

void HitsModel::setHits(std::vector<FindHit> hits)
{
    beginResetModel();
    m_hits = std::move(hits);
    endResetModel();
}

int HitsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

int HitsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TextColumn + 1;
}

QString HitsModel::registerName(data::Register which)
{
    return varnel::decode(frmMenu::entryCaption(1, menuIndex(which))).trimmed();
}

QString HitsModel::fieldCaption(data::Register which, int ordinal)
{
    using registers::RegisterWindowLayout;
    const RegisterWindowLayout& layout =
        which == data::Register::Local        ? RegisterWindowLayout::local()
        : which == data::Register::Outstation ? RegisterWindowLayout::outstation()
                                              : RegisterWindowLayout::tour();
    for (const registers::FieldPlace& place : layout.fields)
        if (place.ordinal == ordinal && !place.caption.isEmpty())
            return varnel::decode(place.caption).trimmed();
    return {};
}

QVariant HitsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_hits.size()))
        return {};
    const FindHit& hit = m_hits[size_t(index.row())];
    if (role == Qt::ToolTipRole && index.column() == TextColumn)
        return hit.text;
    if (role == kMatchRole && index.column() == TextColumn) {
        qsizetype start = 0;
        shownText(hit, start);
        return QPoint(int(start), int(hit.matchLength));
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case RegisterColumn: return registerName(hit.record.which);
    case SerialColumn: return varnel::kannadaDigits(QString::number(hit.record.serial()));
    case DateColumn: return varnel::kannadaDigits(hit.date.toString(QStringLiteral("dd/MM/yyyy")));
    case TimeColumn: return varnel::kannadaDigits(hit.time.toString(QStringLiteral("HH:mm")));
    case FieldColumn: return fieldCaption(hit.record.which, hit.fieldOrdinal);
    default: {
        qsizetype start = 0;
        return shownText(hit, start);
    }
    }
}

QVariant HitsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString heads[] = {texts::registerHead, texts::serialHead, texts::dateHead,
                             texts::timeHead,     texts::fieldHead,  texts::textHead};
    return section >= 0 && section <= TextColumn ? heads[section] : QString();
}

void MatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QPoint match = index.data(HitsModel::kMatchRole).toPoint();
    QTextLayout layout(text, opt.font, painter->device());
    QTextCharFormat marked;
    marked.setFontWeight(QFont::Bold);
    marked.setFontUnderline(true);
    layout.setFormats({{match.x(), match.y(), marked}});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setNumColumns(int(text.size()));
    layout.endLayout();

    const bool selected = opt.state & QStyle::State_Selected;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    painter->save();
    painter->setClipRect(area);
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    layout.draw(painter,
                QPointF(area.left() + 2, area.top() + (area.height() - line.height()) / 2));
    painter->restore();
}

} // namespace find
