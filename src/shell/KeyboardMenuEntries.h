#pragma once

class frmMenu;

// The help pop-up's choice of Kannada keyboard: KGP, ITRANS, or none. A dot marks the one chosen;
// choosing one puts it in force in every text box and keeps it for the next run.
void addKeyboardEntries(frmMenu* menu);
