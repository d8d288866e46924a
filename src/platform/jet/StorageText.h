#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace jet {

// Varnel bytes live in TEXT columns as the Latin-1 characters of the bytes (byte B8 is stored
// as U+00B8, UTF-8 C2 B8). These two turn one form into the other without a QString detour.

// Varnel bytes -> the UTF-8 that is stored.
QByteArray storageFromBytes(QByteArrayView bytes);

// Stored UTF-8 -> Varnel bytes. Characters written by tools that used the Windows-1252 code
// page map back to their bytes; anything else beyond one byte becomes '?'.
QByteArray bytesFromStorage(const unsigned char* utf8, int size);

} // namespace jet
