#include "reports/ui/ReportWindows.h"

#include <QRadioButton>

#include "platform/varnel/VarnelCodec.h"
#include "reports/ReportRegister.h"
#include "reports/ReportTexts.h"
#include "reports/ui/frmreport.h"
#include "reports/ui/frmreport3.h"
#include "shell/Twips.h"
#include "shell/WindowRegistry.h"
#include "widgets/VarnelFonts.h"

namespace {

// Tops of the date frames, in twips: under the register choice, or under the title alone.
constexpr int kFramesUnderChoice = 1320;
constexpr int kFramesUnderTitle = 840;

} // namespace

frmreport::frmreport(QWidget* parent)
    : ReportWindow(QStringLiteral("frmreport"), reports::texts::programmeTitle, kFramesUnderChoice,
                   parent)
{
    const QByteArray captions[2] = {reports::texts::localOption, reports::texts::outstationOption};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(varnel::decode(captions[i]), this);
        option->setObjectName(QStringLiteral("Option_tarna(%1)").arg(i));
        option->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara02, 12));
        option->setGeometry(twRect(480 + i * 3480, 780, 3240, 435));
        m_options[size_t(i)] = option;
    }
    m_options[0]->setChecked(true);
}

void frmreport::setOption_tarna(int Index)
{
    m_options[Index == 1 ? 1 : 0]->setChecked(true);
}

const reports::ReportRegister& frmreport::selectedRegister() const
{
    return m_options[0]->isChecked() ? reports::ReportRegister::local()
                                     : reports::ReportRegister::outstation();
}

frmreport3::frmreport3(QWidget* parent)
    : ReportWindow(QStringLiteral("frmreport3"), reports::texts::tourTitle, kFramesUnderTitle,
                   parent)
{
}

const reports::ReportRegister& frmreport3::selectedRegister() const
{
    return reports::ReportRegister::tour();
}

void reports::registerReportWindows()
{
    registerChildWindow(QStringLiteral("frmreport"), [] { return new frmreport; });
    registerChildWindow(QStringLiteral("frmreport3"), [] { return new frmreport3; });
}
