#pragma once

#include <exception>

#include <QByteArray>
#include <QString>

namespace legacy {

// A Jet diary that cannot be brought over, or an import that could not finish. The text names
// the file and what is wrong; whoever throws it has changed nothing.
class LegacyError : public std::exception {
public:
    explicit LegacyError(QString text);

    QString text() const { return m_text; }
    const char* what() const noexcept override;

private:
    QString m_text;
    QByteArray m_what;
};

} // namespace legacy
