#pragma once

#include <QDateTimeEdit>

namespace varnel {

// A date-time edit that shows Kannada digits. Its own machinery keeps parsing ASCII digits: the
// text is converted both ways at the boundary (the two digit sets have the same length, so the
// sections stay where they are).
class KannadaDateTimeEdit : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit KannadaDateTimeEdit(QWidget* parent = nullptr);

protected:
    QString textFromDateTime(const QDateTime& dateTime) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

} // namespace varnel
