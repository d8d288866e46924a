#pragma once

#include <exception>

#include <QByteArray>
#include <QString>

namespace jet {

// Every engine failure surfaces as this exception: the window that called the engine catches
// it at its handler boundary, shows number and text, and goes on.
class JetError : public std::exception {
public:
    JetError(int number, QString text);

    int number() const { return m_number; }
    QString text() const { return m_text; }
    const char* what() const noexcept override;

private:
    int m_number;
    QString m_text;
    QByteArray m_what;
};

// Error numbers: the Jet engine's own numbers for these failures.
namespace errors {
inline constexpr int kUpdateWithoutEdit = 3020;
inline constexpr int kNoCurrentRecord = 3021;
inline constexpr int kDuplicateValue = 3022;
inline constexpr int kFileNotFound = 3024;
inline constexpr int kNoTransaction = 3034;
inline constexpr int kSyntaxError = 3075;
inline constexpr int kTableNotFound = 3078;
inline constexpr int kNotUpdatable = 3027;
inline constexpr int kRecordDeleted = 3167;
inline constexpr int kFileLocked = 3218;
inline constexpr int kInvalidOperation = 3219;
inline constexpr int kRequiredValue = 3314;
inline constexpr int kUnrecognizedFormat = 3343;
inline constexpr int kTypeConversion = 3421;
inline constexpr int kTypeMismatch = 3464;
inline constexpr int kDiskIo = 3043;
inline constexpr int kDiskFull = 3026;
inline constexpr int kDamaged = 3049;
inline constexpr int kChangedMeanwhile = 3197;
inline constexpr int kReadOnly = 3051;
inline constexpr int kEngineFailure = 3000;
inline constexpr int kInvalidPattern = 93;
inline constexpr int kItemNotFound = 3265;
// The diary server could not be reached, or the connection to it broke.
inline constexpr int kServerUnreachable = 3151;
// The connection broke while a commit was under way and the server could not be asked
// afterwards whether it was stored.
inline constexpr int kCommitOutcomeUnknown = 3152;
} // namespace errors

} // namespace jet
