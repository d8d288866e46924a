#include "widgets/VarnelLabel.h"

#include "platform/varnel/VarnelCodec.h"

namespace varnel {

VarnelLabel::VarnelLabel(QWidget* parent) : QLabel(parent)
{
    // Varnel bytes include '<' and '&': never let the label read them as markup.
    setTextFormat(Qt::PlainText);
}

VarnelLabel::VarnelLabel(const QByteArray& caption, QWidget* parent) : VarnelLabel(parent)
{
    setCaption(caption);
}

void VarnelLabel::setCaption(const QByteArray& varnel)
{
    m_caption = varnel;
    setText(decode(varnel));
}

} // namespace varnel
