#pragma once

#include <QByteArray>
#include <QLabel>

namespace varnel {

// A label whose caption is Varnel text, shown as Unicode Kannada.
class VarnelLabel : public QLabel {
    Q_OBJECT
public:
    explicit VarnelLabel(QWidget* parent = nullptr);
    explicit VarnelLabel(const QByteArray& caption, QWidget* parent = nullptr);

    void setCaption(const QByteArray& varnel);
    QByteArray caption() const { return m_caption; }

private:
    QByteArray m_caption;
};

} // namespace varnel
