#pragma once

#include <array>
#include <memory>

#include <QWidget>

#include "platform/report/ReportControl.h"

class ImageButton;
class ImageButtonPanel;
class QGroupBox;

namespace jet {
class Database;
}
namespace varnel {
class DateTimePicker;
class VarnelLabel;
} // namespace varnel

namespace reports {

struct ReportRegister;

// A report window: a date range in two pickers and the report button. A run stages the range
// of the selected register (Stager) and has the report control run its template, whose report
// opens in a preview; an empty range shows the register's notice. frmreport and frmreport3 are
// this window with and without the choice of register.
//
// It sits in a fixed tool-window frame at the top left of the main window's client area, and
// has no close button of its own.
class ReportWindow : public QWidget {
    Q_OBJECT
public:
    ~ReportWindow() override;

    varnel::DateTimePicker* DTPickerDate(int Index) const { return m_pickers[size_t(Index)]; }
    ImageButton* ImageReport() const { return m_imageReport; }
    ImageButtonPanel* buttons() const { return m_panel; }
    report::ReportControl& Crystalrpt() { return m_crystalrpt; }

    // The register the next run reports on.
    virtual const ReportRegister& selectedRegister() const = 0;

public slots:
    void ImageReport_Click();
    void DTPickerDate_Change(int Index);

protected:
    // `top`: where the date frames stand, in twips, under the title (and the register choice);
    // the report button follows under them.
    ReportWindow(const QString& name, const QByteArray& title, int top, QWidget* parent);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void ResetDates();
    QGroupBox* dateFrame(const char* name, const QByteArray& caption, int left, int top, int index);

    std::shared_ptr<jet::Database> Db;
    std::array<varnel::DateTimePicker*, 2> m_pickers{};
    ImageButtonPanel* m_panel = nullptr;
    ImageButton* m_imageReport = nullptr;
    report::ReportControl m_crystalrpt;
    bool m_placed = false;
};

} // namespace reports
