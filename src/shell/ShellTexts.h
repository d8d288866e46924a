#pragma once

#include <QByteArray>
#include <QString>

// Texts of our own (Unicode Kannada) and the captions the shell shares between windows
// (Varnel bytes).
namespace shell {

QString productName(); // ವೆಲ್ಮೊರಾ
QString versionText(); // ಆವೃತ್ತಿ ೧.೦.೦: the project's version in Kannada digits
QString teamName();    // ವೆಲ್ಮೊರಾ ತಂಡ
QString licenceText(); // the licence line of the about window

QByteArray backCaption(); // "back", the caption of every ImageExit
QByteArray reportCaption();
QByteArray findCaption();
QByteArray newCaption();
QByteArray cancelCaption();
QByteArray saveCaption();
QByteArray deleteCaption();

} // namespace shell
