#include "CliRecordView.h"

#include "registers/RegisterTexts.h"

namespace cli {

CliRecordView::CliRecordView(const registers::RegisterMapping& mapping, bool allowClash)
    : m_mapping(mapping), m_editor(mapping, *this), m_allowClash(allowClash)
{
}

QList<QVariant> CliRecordView::record() const
{
    QList<QVariant> columns;
    for (const registers::RegisterField& f : m_mapping.fields)
        columns << (f.kind == registers::FieldKind::SerialNumber ? QVariant(m_serial.toInt())
                                                                 : m_values.value(f.ordinal));
    return columns;
}

// A scroll bar pulls its value into range and reports every change of it.
void CliRecordView::setNavigatorMaximum(int maximum)
{
    m_navigatorMaximum = maximum;
    if (m_navigator > maximum)
        setNavigatorValue(maximum);
}

void CliRecordView::setNavigatorValue(int value)
{
    value = qBound(1, value, m_navigatorMaximum);
    if (value == m_navigator)
        return;
    m_navigator = value;
    m_editor.VScroll1_Change();
}

bool CliRecordView::ask(const QByteArray& varnelQuestion)
{
    if (varnelQuestion == registers::texts::saveQuestion)
        return true;
    if (varnelQuestion == registers::texts::deleteQuestion)
        return m_deleteAsked = true;
    // Another program changed or deleted the record meanwhile: nothing is written over it.
    refuse(QStringLiteral(u"ಏನನ್ನೂ ಬದಲಾಯಿಸಲಿಲ್ಲ: ") + varnel::decode(varnelQuestion), kEnvironment);
    return false;
}

bool CliRecordView::askText(const QString& unicodeQuestion)
{
    if (m_allowClash)
        return true;
    m_clash = unicodeQuestion;
    return false;
}

// The editor's refusals of the record typed (a required text left empty).
void CliRecordView::message(const QByteArray& varnelMessage)
{
    refuse(varnel::decode(varnelMessage), kBadInput);
}

// The editor's own notices: the register full, a diary that can only be read, a record
// changed or deleted by another program meanwhile. The command line refuses a text with no
// Varnel form before the editor sees it.
void CliRecordView::messageText(const QString& unicodeMessage)
{
    refuse(unicodeMessage, kEnvironment);
}

void CliRecordView::refuse(const QString& text, Exit code)
{
    if (!m_refusal)
        m_refusal = Refusal{text, code};
}

} // namespace cli
