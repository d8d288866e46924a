#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include "find/FindHit.h"

namespace find {

// The find window's list: one row per hit, in the order the search returned them. The last
// column shows the field that holds the text, its match under kMatchRole (start, length).
class HitsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { RegisterColumn, SerialColumn, DateColumn, TimeColumn, FieldColumn, TextColumn };
    static constexpr int kMatchRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setHits(std::vector<FindHit> hits);
    const std::vector<FindHit>& hits() const { return m_hits; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The register's name as the menus give it, and the caption of a field in its window.
    static QString registerName(data::Register which);
    static QString fieldCaption(data::Register which, int ordinal);

private:
    std::vector<FindHit> m_hits;
};

// Draws the found text with its match in bold, shaped as one line.
class MatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace find
