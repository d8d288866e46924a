#pragma once

#include <array>

#include "reports/ui/ReportWindow.h"
#include "shell/RegisterChoice.h"

class QRadioButton;

// The report of local or outstation programmes, chosen by Option_tarna(0) and Option_tarna(1).
class frmreport : public reports::ReportWindow, public RegisterChoice {
    Q_OBJECT
public:
    explicit frmreport(QWidget* parent = nullptr);

    QRadioButton* Option_tarna(int Index) const { return m_options[size_t(Index)]; }
    void setOption_tarna(int Index) override;
    const reports::ReportRegister& selectedRegister() const override;

private:
    std::array<QRadioButton*, 2> m_options{};
};
