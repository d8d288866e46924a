#pragma once

#include <array>

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

#include "widgets/VarnelFonts.h"

namespace registers {

// The control that shows a column.
enum class FieldControl { ReadOnlyText, SingleLine, MultiLine, DatePicker, TimePicker };

// One field of a register window: its caption and its control, in twips of the window.
struct FieldPlace {
    int ordinal = 0;
    QString name; // TxtTopic, DTPickerDate, ...
    FieldControl control = FieldControl::SingleLine;
    QRect at;           // the control
    QByteArray caption; // the caption label, Varnel bytes; none for a second day box
    QRect captionAt;
};

// Everything that differs between the three register windows' faces. Fields are listed in
// tab order.
struct RegisterWindowLayout {
    QString name; // frmlocal, frmoutstation, frmtour
    QByteArray frameCaption;
    QRect frameAt;
    QList<FieldPlace> fields;
    QRect navigatorAt;
    int buttonsLeft = 0;
    std::array<int, 4> buttonTops{}; // New/Cancel, Save, Delete, Exit
    varnel::VarnelFont buttonCaptionFont = varnel::VarnelFont::Akshara02;
    qreal buttonCaptionSize = 12;
    qreal pickerSize = 14.25;
    QRect titleAt;                  // Label10 / Label1: the product name
    QRect iconAt;                   // the program's icon beside it
    bool frameResetsButtons = true; // Frame1_MouseMove of the two programme registers

    static const RegisterWindowLayout& local();
    static const RegisterWindowLayout& outstation();
    static const RegisterWindowLayout& tour();
};

} // namespace registers
