#pragma once

#include <exception>

#include <QByteArray>
#include <QString>

namespace report {

// A report that cannot be made: its template missing, unreadable or naming what is not there.
// The text says in Kannada what failed and names the file; the run stops and nothing is shown
// or written.
class ReportError : public std::exception {
public:
    explicit ReportError(QString text);

    QString text() const { return m_text; }
    const char* what() const noexcept override;

private:
    QString m_text;
    QByteArray m_what;
};

// The user stopped the run; nothing is shown or written.
class ReportCancelled : public ReportError {
public:
    ReportCancelled();
};

} // namespace report
