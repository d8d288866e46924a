#pragma once

#include <array>
#include <functional>

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "search/SearchSession.h"

class ImageButton;
class ImageButtonPanel;
class QCheckBox;
class QLabel;
class QFrame;
class QGroupBox;

namespace varnel {
class DateTimePicker;
}

namespace search {

class SearchGrid;

// What differs between the search windows' common parts. Places are in twips.
struct SearchWindowDesign {
    QString name; // frmfind1, frmfind2, frmfind3
    data::Register which;
    QByteArray title;  // Label30
    QPoint findDiscAt; // ShapeFind
    QPoint exitDiscAt; // ShapeExit
    QRect gridAt;      // MSFlexGrid1 as designed; it grows with the window
};

// The parts every search window shares: its title, the two image buttons, the two date bounds
// with their check boxes and the date order rule, the grid, and the session that reads the
// diary. frmfind1, frmfind2 and frmfind3 add their own bounds and query procedure.
class SearchWindow : public QWidget {
    Q_OBJECT
public:
    ~SearchWindow() override;

    SearchGrid* grid() const { return MSFlexGrid1; }
    // The table of the register listed (local, outstation, tour).
    QString registerTable() const;
    ImageButtonPanel* buttons() const { return m_panel; }
    SearchSession& session() { return m_session; }
    // The rows shown, in the list's order, every column by ordinal.
    const QList<data::Record>& shownRecords() const { return m_session.RsResult(); }
    // The line under the grid: how many records are listed, or that none matched.
    QLabel* countLine() const { return m_countLine; }

    std::array<QCheckBox*, 2> CheckDate{};
    std::array<varnel::DateTimePicker*, 2> DTPickerDate{};

public slots:
    void ImageExit_Click();

protected:
    SearchWindow(const SearchWindowDesign& design, QWidget* parent);

    // Puts the date bound `index` into `frame`: its check box and its picker.
    void addDateBound(int index, QWidget* frame, const QByteArray& caption, const QRect& checkAt,
                      const QRect& pickerAt, qreal pickerSize);
    // A check box and a picker as the bounds use them; the box's click sets the picker's
    // enabled state.
    QCheckBox* makeCheck(QWidget* frame, const QString& name, const QByteArray& caption,
                         const QRect& at);
    varnel::DateTimePicker* makePicker(QWidget* frame, const QString& name, const char* format,
                                       const QRect& at, qreal pointSize);
    QGroupBox* makeFrame(const QString& name, const QByteArray& caption, const QRect& at);

    // OpenSearch's common steps: the diary in the program's folder, then the opening list.
    void openDiary(const QString& openingStatement);
    // Opens `statement` as the new result and fills the grid with it.
    void showResult(const QString& statement);
    // Runs a handler; a failure is shown in the message dialog and the window goes on.
    void guarded(const std::function<void()>& handler);
    // Whether a bound's picker is in force.
    static bool inForce(const QWidget* picker);

    virtual void ImageFind_Click() = 0;

    void resizeEvent(QResizeEvent* event) override;

private:
    // Coming to the front, the window lists again what another window or program changed.
    void refreshIfChanged();
    void CheckDate_Click(int Index);
    void DTPickerDate_Change(int Index);
    void applyDateOrderRule(int Index);
    void FillGrid();
    void buildButtons();
    void placeLowerParts();

    SearchWindowDesign m_design;
    SearchSession m_session;
    SearchGrid* MSFlexGrid1 = nullptr;
    ImageButtonPanel* m_panel = nullptr;
    ImageButton* ImageFind = nullptr;
    ImageButton* ImageExit = nullptr;
    QLabel* Label30 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* m_countLine = nullptr;
    bool m_searched = false; // the list shown is a search's, not the opening list
    QLabel* Image1 = nullptr;
    QFrame* Line1 = nullptr;
};

} // namespace search
