#pragma once

#include <QByteArray>

// The registers' own Varnel texts, byte for byte (each character is one glyph byte).
// clang-format off
namespace registers::texts {

// cancel this new record?
inline const QByteArray cancelQuestion = QByteArrayLiteral("F \xBA\xC9\xC6\xB8\xC0 z\xC1R\xAF\xC9" "Ai\xC0\xC4\xA3\xC0\xC4\xDF g\xC0z\xC0\xC4\xDDU\xC9\xC6\xBD\xB8\xC0\xA8\xC9\xC3P\xC9??");
// a deleted record cannot be got back; delete it?
inline const QByteArray deleteQuestion = QByteArrayLiteral("M\xAA\xC9\xC4\xE4 C\xBD\xB9z\xC0 z\xC1R\xAF\xC9" "Ai\xC0\xC4\xA3\xC0\xC4\xDF \xAA\xC0\xC4v\xC9\xDB \xA5\xC0q\xC9" "Ai\xC0\xC4\xAE\xC4 \xB8\xC1zs\xC0\xE5\xAB\xAE\xE8. z\xC1R\xAF\xC9" "Ai\xC0\xC4\xA3\xC0\xC4\xDF C\xBD\xB8\xC0\xA8\xC9\xC3P\xC9\xC3??");
// is the record being saved correct? if so press Yes
inline const QByteArray saveQuestion = QByteArrayLiteral("G\xBD\xB8\xC0\xC4w\xDBg\xC0\xC4\xAA\xC0 z\xC1R\xAF\xC9 \xB8\xC0j\xAC\xC4z\xC9" "Ai\xC9\xC4\xC3?? \xB8\xC0j\xAC\xC4z\xC0\xDD\xB0\xE8 \xBA\xCBz\xC0\xC4 U\xC0\xC4" "ArAi\xC0\xC4\xA3\xC0\xC4\xDF Mw\xDB.");
// give the programme's details
inline const QByteArray programmeDetailsMissing = QByteArrayLiteral("P\xC1" "Ai\xC0\xC4\xF0P\xC0\xE6\xAA\xC0\xC4z\xC0 \xAB\xAA\xC0g\xC0U\xC0\xBC\xC0\xA3\xC0\xC4\xDF \xB8\xC0\xC6" "a\xB9.");
// give the tour's details
inline const QByteArray tourDetailsMissing = QByteArrayLiteral("\xA5\xC0\xE6\xAA\xC1\xB8\xC0z\xC0 \xAB\xAA\xC0g\xC0U\xC0\xBC\xC0\xA3\xC0\xC4\xDF \xB8\xC0\xC6" "a\xB9.");
// serial number
inline const QByteArray serialNumber = QByteArrayLiteral("P\xC0\xE6\xAA\xC0\xC4 \xB8\xC0" "AS\xC9\xE5");
// date
inline const QByteArray date = QByteArrayLiteral("\xA2\xA3\xC1" "AP\xC0");
// day
inline const QByteArray day = QByteArrayLiteral("\xA2\xA3\xC0");
// time
inline const QByteArray time = QByteArrayLiteral("\xB8\xC0\xAA\xC0\xC4" "Ai\xC0\xC4");
// subject
inline const QByteArray topic = QByteArrayLiteral("\xAB\xB5\xC0" "Ai\xC0\xC4");
// place
inline const QByteArray venue = QByteArrayLiteral("\xB8\xC0\xDC\xBC\xC0");
// address
inline const QByteArray address = QByteArrayLiteral("\xAB\xBC\xC1\xB8\xC0");
// telephone number
inline const QByteArray telephone = QByteArrayLiteral("z\xC0\xC6g\xC0\xAA\xC1t\xC2 \xB8\xC0" "AS\xC9\xE5");
// contact person (two blanks)
inline const QByteArray contactLocal = QByteArrayLiteral("\xB8\xC0" "A\xA5\xC0P\xC0\xF0  \xAA\xC0\xE5Q\xDB ");
// contact person (one blank)
inline const QByteArray contactOutstation = QByteArrayLiteral("\xB8\xC0" "A\xA5\xC0P\xC0\xF0 \xAA\xC0\xE5Q\xDB ");
// other details
inline const QByteArray others = QByteArrayLiteral("Ev\xC0g\xC9");
// local programmes: addition / change
inline const QByteArray frameLocal = QByteArrayLiteral("\xB8\xC0\xDC\xBD\xC3" "Ai\xC0\xC4 P\xC1" "Ai\xC0\xC4\xF0P\xC0\xE6\xAA\xC0\xC4U\xC0\xBC\xC0 \xB8\xC9\xC3\xA5\xC0\xF0q\xC9/ \xA7z\xC0\xAF\xC1\xAA\xC0u\xC9");
// outstation programmes: addition / change
inline const QByteArray frameOutstation = QByteArrayLiteral("\xA5\xC0g\xC0\xB8\xC0\xDC\xBC\xC0 P\xC1" "Ai\xC0\xC4\xF0P\xC0\xE6\xAA\xC0\xC4U\xC0\xBC\xC0 \xB8\xC9\xC3\xA5\xC0\xF0q\xC9/ \xA7z\xC0\xAF\xC1\xAA\xC0u\xC9");
// tour details: addition / change
inline const QByteArray frameTour = QByteArrayLiteral("\xA5\xC0\xE6\xAA\xC1\xB8\xC0 \xAB\xAA\xC0g\xC0U\xC0\xBC\xC0 \xB8\xC9\xC3\xA5\xC0\xF0q\xC9/ \xA7z\xC0\xAF\xC1\xAA\xC0u\xC9");
// from where
inline const QByteArray travelFrom = QByteArrayLiteral("J\xB0\xE8" "Az\xC0");
// to where
inline const QByteArray travelTo = QByteArrayLiteral("J\xB0\xE8U\xC9");
// departure date
inline const QByteArray departureDate = QByteArrayLiteral("\xBA\xC9\xC6g\xC0q\xC0\xC4\xAA\xC0 \xA2\xA3\xC1" "AP\xC0");
// arrival date
inline const QByteArray arrivalDate = QByteArrayLiteral("v\xC0\xAE\xC4\xA5\xC0\xC4\xAA\xC0 \xA2\xA3\xC1" "AP\xC0");
// mode of travel
inline const QByteArray travelType = QByteArrayLiteral("\xA5\xC0\xE6" "Ai\xC0i\xC1t \xABzs\xC1\xA3\xC0");

} // namespace registers::texts
// clang-format on
