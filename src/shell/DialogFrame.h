#pragma once

#include <QSize>
#include <QWidget>

// The raised border of a captionless window with a fixed dialog border (the pop-up menus, the
// save notice). Controls go on client(), whose origin is the client area's top-left corner.
class DialogFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = 3;

    DialogFrame(QSize clientSize, QWidget* parent = nullptr);

    QWidget* client() const { return m_client; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_client;
};
