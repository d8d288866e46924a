#pragma once

#include "reports/ui/ReportWindow.h"

// The report of tours that start or end within the range.
class frmreport3 : public reports::ReportWindow {
    Q_OBJECT
public:
    explicit frmreport3(QWidget* parent = nullptr);

    const reports::ReportRegister& selectedRegister() const override;
};
