#pragma once

namespace reports {

// Makes frmreport and frmreport3 openable by name from the reports pop-up menu.
void registerReportWindows();

} // namespace reports
