#include "registers/ui/RegisterWindowLayout.h"

#include "registers/RegisterTexts.h"

namespace registers {

namespace {

using C = FieldControl;

// The captions stand left of their controls, in the frame's left margin.
constexpr int kCaptionLeft = 180;
constexpr int kCaptionWidth = 1110;
constexpr int kRowHeight = 435;

FieldPlace captioned(int ordinal, const char* name, C control, QRect at, const QByteArray& caption,
                     int captionLeft = kCaptionLeft, int captionWidth = kCaptionWidth)
{
    return {ordinal, QString::fromLatin1(name),
            control, at,
            caption, QRect(captionLeft, at.top(), captionWidth, kRowHeight)};
}

struct ProgrammeRows {
    int serialTop, dateTop, dayLeft, topicTop, venueTop;
    int addressWidth, telephoneLeft, telephoneWidth;
    QByteArray frameCaption, contactCaption;
    int buttonsLeft;
    std::array<int, 4> buttonTops;
    qreal pickerSize;
};

// local and outstation: the same form with the small differences of ProgrammeRows.
RegisterWindowLayout programmeWindow(const QString& name, const ProgrammeRows& r)
{
    RegisterWindowLayout l;
    l.name = name;
    l.frameCaption = r.frameCaption;
    l.frameAt = QRect(120, 120, 8835, 6180);
    const int fieldLeft = 1320, fullWidth = 7455, tall = 1455;
    l.fields = {
        captioned(1, "DTPickerDate", C::DatePicker, QRect(fieldLeft, r.dateTop, 2055, kRowHeight),
                  texts::date),
        captioned(2, "TxtDay", C::ReadOnlyText, QRect(r.dayLeft, r.dateTop, 1815, kRowHeight),
                  texts::day, r.dayLeft - 780, 720),
        captioned(3, "DTPickerTime", C::TimePicker, QRect(7680, r.dateTop, 1095, kRowHeight),
                  texts::time, 6600, 1020),
        captioned(4, "TxtTopic", C::MultiLine, QRect(fieldLeft, r.topicTop, fullWidth, 495),
                  texts::topic),
        captioned(5, "TxtVenue", C::MultiLine, QRect(fieldLeft, r.venueTop, fullWidth, 495),
                  texts::venue),
        captioned(6, "TxtAddress", C::MultiLine, QRect(fieldLeft, 3000, r.addressWidth, tall),
                  texts::address),
        captioned(7, "TxtTelephone", C::MultiLine,
                  QRect(r.telephoneLeft, 3000, r.telephoneWidth, tall), texts::telephone,
                  fieldLeft + r.addressWidth + 60,
                  r.telephoneLeft - fieldLeft - r.addressWidth - 120),
        captioned(8, "TxtContact", C::MultiLine, QRect(fieldLeft, 4560, fullWidth, 495),
                  r.contactCaption),
        captioned(9, "TxtOthers", C::MultiLine, QRect(fieldLeft, 5160, fullWidth, 975),
                  texts::others),
        captioned(0, "TxtSl_no", C::ReadOnlyText, QRect(fieldLeft, r.serialTop, 1215, kRowHeight),
                  texts::serialNumber),
    };
    // Captions that run to two lines get the room of two rows.
    l.fields[6].captionAt.setHeight(2 * kRowHeight);
    l.fields[7].captionAt.setHeight(2 * kRowHeight);
    l.navigatorAt = QRect(9120, 480, 255, 5775);
    l.buttonsLeft = r.buttonsLeft;
    l.buttonTops = r.buttonTops;
    l.pickerSize = r.pickerSize;
    // The title stands under the column of buttons.
    const int titleTop = qMax(5520, r.buttonTops[3] + 780);
    l.iconAt = QRect(9600, titleTop, 480, 480);
    l.titleAt = QRect(10140, titleTop, 1560, 525);
    return l;
}

RegisterWindowLayout tourWindow()
{
    RegisterWindowLayout l;
    l.name = QStringLiteral("frmtour");
    l.frameCaption = texts::frameTour;
    l.frameAt = QRect(0, 120, 8880, 4560);
    const int dateLeft = 2160, wide = 6615;
    auto dayBox = [](int ordinal, const char* name, int top) {
        return captioned(ordinal, name, C::ReadOnlyText, QRect(4800, top, 1695, kRowHeight),
                         texts::day, 4455, 345);
    };
    auto timePicker = [](int ordinal, const char* name, int top) {
        return captioned(ordinal, name, C::TimePicker, QRect(7560, top, 1095, kRowHeight),
                         texts::time, 6600, 900);
    };
    l.fields = {
        captioned(1, "TxtFrom", C::SingleLine, QRect(1080, 1110, 3375, kRowHeight),
                  texts::travelFrom, 120, 900),
        captioned(2, "TxtTo", C::SingleLine, QRect(5400, 1110, 3375, kRowHeight), texts::travelTo,
                  4560, 800),
        captioned(3, "DTPDateFrom", C::DatePicker, QRect(dateLeft, 1740, 2250, kRowHeight),
                  texts::departureDate, 120, 1980),
        timePicker(5, "DTPTimeFrom", 1740),
        captioned(6, "DTPDateTo", C::DatePicker, QRect(dateLeft, 2340, 2250, kRowHeight),
                  texts::arrivalDate, 120, 1980),
        timePicker(8, "DTPTimeTo", 2340),
        captioned(9, "TxtTraveltype", C::SingleLine, QRect(dateLeft, 2940, wide, kRowHeight),
                  texts::travelType, 120, 1980),
        captioned(10, "TxtOthers", C::MultiLine, QRect(dateLeft, 3600, wide, 750), texts::others,
                  120, 1980),
        dayBox(4, "TxtDayFrom", 1740),
        dayBox(7, "TxtDayTo", 2340),
        captioned(0, "TxtSl_no", C::ReadOnlyText, QRect(dateLeft, 480, 1215, kRowHeight),
                  texts::serialNumber, 120, 1980),
    };
    l.navigatorAt = QRect(9120, 1080, 255, 3255);
    l.buttonsLeft = 10620;
    l.buttonTops = {555, 1755, 2955, 4200};
    l.buttonCaptionFont = varnel::VarnelFont::Akshara;
    l.buttonCaptionSize = 14.25;
    l.pickerSize = 15;
    l.iconAt = QRect(240, 4920, 480, 480);
    l.titleAt = QRect(780, 4920, 1560, 525);
    l.frameResetsButtons = false;
    return l;
}

} // namespace

const RegisterWindowLayout& RegisterWindowLayout::local()
{
    static const RegisterWindowLayout l =
        programmeWindow(QStringLiteral("frmlocal"), {600,
                                                     1200,
                                                     4440,
                                                     1800,
                                                     2400,
                                                     3615,
                                                     6120,
                                                     2655,
                                                     texts::frameLocal,
                                                     texts::contactLocal,
                                                     10560,
                                                     {960, 2160, 3360, 4560},
                                                     14.25});
    return l;
}

const RegisterWindowLayout& RegisterWindowLayout::outstation()
{
    static const RegisterWindowLayout l =
        programmeWindow(QStringLiteral("frmoutstation"), {480,
                                                          1110,
                                                          4320,
                                                          1740,
                                                          2370,
                                                          3735,
                                                          6240,
                                                          2655,
                                                          texts::frameOutstation,
                                                          texts::contactOutstation,
                                                          10620,
                                                          {1395, 2595, 3795, 5040},
                                                          15});
    return l;
}

const RegisterWindowLayout& RegisterWindowLayout::tour()
{
    static const RegisterWindowLayout l = tourWindow();
    return l;
}

} // namespace registers
