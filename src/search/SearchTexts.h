#pragma once

#include <QByteArray>

// The search windows' own Varnel texts, byte for byte (each character is one glyph byte).
// clang-format off
namespace search::texts {

// from
inline const QByteArray from = QByteArrayLiteral("EAz\xC0");
// to
inline const QByteArray to = QByteArrayLiteral("\xAA\xC0g\xC9U\xC9");
// date
inline const QByteArray date = QByteArrayLiteral("\xA2\xA3\xC1" "AP\xC0");
// time
inline const QByteArray time = QByteArrayLiteral("\xB8\xC0\xAA\xC0\xC4" "Ai\xC0\xC4");
// journey
inline const QByteArray journey = QByteArrayLiteral("\xA5\xC0\xE6\xAA\xC1\xB8\xC0");

// Window titles; each begins with a blank.
// list of local programmes
inline const QByteArray titleLocal = QByteArrayLiteral(" \xB8\xC0\xDC\xBD\xC3" "Ai\xC0\xC4 P\xC1" "Ai\xC0\xC4\xF0P\xC0\xE6\xAA\xC0\xC4U\xC0\xBC\xC0 \xA5\xC0n\xD6");
// list of outstation programmes
inline const QByteArray titleOutstation = QByteArrayLiteral(" \xA5\xC0g\xC0\xB8\xC0\xDC\xBC\xC0 P\xC1" "Ai\xC0\xC4\xF0P\xC0\xE6\xAA\xC0\xC4U\xC0\xBC\xC0 \xA5\xC0n\xD6");
// list of tour details
inline const QByteArray titleTour = QByteArrayLiteral(" \xA5\xC0\xE6\xAA\xC1\xB8\xC0z\xC0 \xAB\xAA\xC0g\xC0U\xC0\xBC\xC0 \xA5\xC0n\xD6");

// Grid headers.
// serial number
inline const QByteArray serialNumber = QByteArrayLiteral("P\xC0\xE6\xAA\xC0\xC4\xB8\xC0" "AS\xC9\xE5");
// day
inline const QByteArray day = QByteArrayLiteral("\xA2\xA3\xC0");
// subject
inline const QByteArray topic = QByteArrayLiteral("\xAB\xB5\xC0" "Ai\xC0\xC4");
// place
inline const QByteArray venue = QByteArrayLiteral("\xB8\xC0\xDC\xBC\xC0");
// address
inline const QByteArray address = QByteArrayLiteral("\xAB\xBC\xC1\xB8\xC0");
// telephone number
inline const QByteArray telephone = QByteArrayLiteral("z\xC0\xC6g\xC0\xAA\xC1t\xC2 \xB8\xC0" "AS\xC9\xE5");
// contact person
inline const QByteArray contactPerson = QByteArrayLiteral("\xB8\xC0" "A\xA5\xC0P\xC0\xF0 \xAA\xC0\xE5Q\xDB");
// others
inline const QByteArray others = QByteArrayLiteral("Ev\xC0g\xC9");
// from where
inline const QByteArray fromWhere = QByteArrayLiteral("J\xB0\xE8" "Az\xC0");
// to where
inline const QByteArray toWhere = QByteArrayLiteral("J\xB0\xE8U\xC9");
// departure date, day, time
inline const QByteArray departureDate = QByteArrayLiteral("\xBA\xC9\xC6g\xC0q\xC0\xC4\xAA\xC0 \xA2\xA3\xC1" "AP\xC0");
inline const QByteArray departureDay = QByteArrayLiteral("\xBA\xC9\xC6g\xC0q\xC0\xC4\xAA\xC0 \xA2\xA3\xC0");
inline const QByteArray departureTime = QByteArrayLiteral("\xBA\xC9\xC6g\xC0q\xC0\xC4\xAA\xC0 \xB8\xC0\xAA\xC0\xC4" "Ai\xC0\xC4");
// arrival date, day, time
inline const QByteArray arrivalDate = QByteArrayLiteral("v\xC0\xAE\xC4\xA5\xC0\xC4\xAA\xC0 \xA2\xA3\xC1" "AP\xC0");
inline const QByteArray arrivalDay = QByteArrayLiteral("v\xC0\xAE\xC4\xA5\xC0\xC4\xAA\xC0 \xA2\xA3\xC0");
inline const QByteArray arrivalTime = QByteArrayLiteral("v\xC0\xAE\xC4\xA5\xC0\xC4\xAA\xC0 \xB8\xC0\xAA\xC0\xC4" "Ai\xC0\xC4");
// mode of travel
inline const QByteArray travelMode = QByteArrayLiteral("\xA5\xC0\xE6" "Ai\xC0i\xC1t \xABzs\xC1\xA3\xC0");

} // namespace search::texts
// clang-format on
