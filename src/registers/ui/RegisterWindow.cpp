#include "registers/ui/RegisterWindow.h"

#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

#include "data/DayName.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/RegisterTexts.h"
#include "registers/UndoTexts.h"
#include "shell/DialogButton.h"
#include "shell/FailureReport.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/Pictures.h"
#include "shell/ShellColours.h"
#include "shell/ShellTexts.h"
#include "shell/Twips.h"
#include "shell/WindowGround.h"
#include "shell/WindowRegistry.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"
#include "shell/frmsave.h"
#include "widgets/DateTimePicker.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"
#include "widgets/VarnelLineEdit.h"
#include "widgets/VarnelTextEdit.h"

namespace registers {

namespace {

QRect pixels(const QRect& twips)
{
    return twRect(twips.x(), twips.y(), twips.width(), twips.height());
}

QFont fieldFont()
{
    return varnel::varnelFont(varnel::VarnelFont::Akshara, 14.25);
}

// Whether a control holds typing of its own that Ctrl+Z takes back first, as it does anywhere.
bool holdsTypingToUndo(QObject* control)
{
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return !line->isReadOnly() && line->isUndoAvailable();
    if (auto* text = qobject_cast<QPlainTextEdit*>(control))
        return !text->isReadOnly() && text->document()->isUndoAvailable();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) {
        const auto* line = spin->findChild<QLineEdit*>();
        return line && line->isUndoAvailable();
    }
    return false;
}

} // namespace

RegisterWindow::RegisterWindow(const RegisterMapping& mapping, const RegisterWindowLayout& layout,
                               QWidget* parent)
    : QWidget(parent), m_mapping(mapping), m_layout(layout), m_editor(mapping, *this)
{
    setObjectName(layout.name);
    shell::paintGround(this);
    setWindowIcon(Pictures::programIcon());
    setFont(fieldFont());

    Frame1 = new QGroupBox(varnel::decode(layout.frameCaption), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(pixels(layout.frameAt));
    Frame1->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 12, true));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(Pictures::icon(Pictures::Icon::Program));
    icon->setGeometry(pixels(layout.iconAt));
    auto* title = new QLabel(shell::productName(), this);
    title->setObjectName(layout.name == QLatin1String("frmlocal") ? QStringLiteral("Label10")
                                                                  : QStringLiteral("Label1"));
    title->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara08, 20, true));
    title->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    title->setGeometry(pixels(layout.titleAt));

    buildFields();

    m_navigator = new QScrollBar(Qt::Vertical, this);
    m_navigator->setObjectName(QStringLiteral("VScroll1"));
    m_navigator->setGeometry(pixels(layout.navigatorAt));
    m_navigator->setRange(1, 1);
    m_navigator->setValue(1);
    connect(m_navigator, &QScrollBar::valueChanged, this, &RegisterWindow::VScroll1_Change);

    buildButtons();
    buildUndo();
    Form_Load();
}

RegisterWindow::~RegisterWindow() = default;

void RegisterWindow::buildFields()
{
    QWidget* previous = nullptr;
    for (const FieldPlace& f : m_layout.fields) {
        if (!f.caption.isEmpty()) {
            auto* caption = new varnel::VarnelLabel(f.caption, this);
            caption->setGeometry(pixels(f.captionAt));
            caption->setWordWrap(true);
            caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            caption->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 11));
        }
        QWidget* w = nullptr;
        switch (f.control) {
        case FieldControl::ReadOnlyText: {
            // Set by the editor, never typed into, yet as legible as the fields beside them: read
            // only (not disabled, which greys the text) and out of the tab order.
            QLineEdit* box = nullptr;
            if (f.ordinal == 0)
                box = TxtSl_no = new QLineEdit(this);
            else
                box = new varnel::VarnelLineEdit(this);
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::NoFocus);
            w = box;
            break;
        }
        case FieldControl::SingleLine: w = new varnel::VarnelLineEdit(this); break;
        case FieldControl::MultiLine: w = new varnel::VarnelTextEdit(this); break;
        case FieldControl::DatePicker:
        case FieldControl::TimePicker: {
            auto* p = new varnel::DateTimePicker(this);
            p->setCustomFormat(QString::fromLatin1(f.control == FieldControl::DatePicker
                                                       ? data::kPickerDateFormat
                                                       : data::kPickerTimeFormat));
            p->setFont(varnel::varnelFont(varnel::VarnelFont::Akshara, m_layout.pickerSize));
            if (f.control == FieldControl::DatePicker) {
                const int ordinal = f.ordinal;
                connect(p, &varnel::DateTimePicker::Change, this,
                        [this, ordinal] { guarded([&] { m_editor.DatePicker_Change(ordinal); }); });
            }
            w = p;
            break;
        }
        }
        w->setObjectName(f.name);
        w->setGeometry(pixels(f.at));
        m_controls.insert(f.ordinal, w);
        // The layout lists the fields in their tab order; a picker is one stop.
        if (f.control == FieldControl::ReadOnlyText)
            continue;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

void RegisterWindow::buildButtons()
{
    m_panel = new ImageButtonPanel(this);
    const QFont captionFont =
        varnel::varnelFont(m_layout.buttonCaptionFont, m_layout.buttonCaptionSize);
    auto design = [&](const char* icon, const char* disc, int caption, int firstLine,
                      Pictures::Icon picture, int row, const QByteArray& text, QColor colour) {
        ImageButtonLayout s;
        s.iconName = QString::fromLatin1(icon);
        s.discName = QString::fromLatin1(disc);
        s.captionName = QStringLiteral("Label0(%1)").arg(caption);
        s.firstLine = firstLine;
        s.picture = Pictures::icon(picture);
        s.iconAt = QPoint(m_layout.buttonsLeft, m_layout.buttonTops[row]);
        s.disc = ImageButtonLayout::kRegisterDisc;
        s.caption = text;
        s.captionColour = colour;
        s.captionFont = captionFont;
        return s;
    };
    ImageNew = m_panel->add(design("ImageNew", "ShapeNew", 1, 1, Pictures::Icon::New, 0,
                                   shell::newCaption(), QColor(0, 0, 128)));
    ImageCancel = m_panel->addSharingDisc(
        ImageNew, design("ImageCancel", "ShapeNew", 0, 1, Pictures::Icon::Cancel, 0,
                         shell::cancelCaption(), QColor(192, 0, 0)));
    ImageSave = m_panel->add(design("ImageSave", "ShapeSave", 2, 4, Pictures::Icon::Save, 1,
                                    shell::saveCaption(), QColor(128, 0, 128)));
    ImageDelete = m_panel->add(design("ImageDelete", "ShapeDelete", 3, 7, Pictures::Icon::Delete, 2,
                                      shell::deleteCaption(), QColor(192, 0, 0)));
    ImageExit = m_panel->add(design("ImageExit", "ShapeExit", 4, 10, Pictures::Icon::Back, 3,
                                    shell::backCaption(), QColor(0, 64, 64)));
    ImageCancel->setIconVisible(false);

    ImageNew->setCommand([this] { ImageNew_Click(); });
    ImageCancel->setCommand([this] { ImageCancel_Click(); });
    ImageSave->setCommand([this] { ImageSave_Click(); });
    ImageDelete->setCommand([this] { ImageDelete_Click(); });
    ImageExit->setCommand([this] { ImageExit_Click(); });

    m_panel->resetOn(this);
    if (m_layout.frameResetsButtons)
        m_panel->resetOn(Frame1);
}

// The undo entry stands under the frame at its right; Ctrl+Z reaches it from every control. The
// text boxes and pickers take Ctrl+Z for their own typing only while they have some to undo.
void RegisterWindow::buildUndo()
{
    CmdUndo = shell::dialogButton(texts::undoCaption(), this, varnel::VarnelFont::Akshara, 12);
    CmdUndo->setObjectName(QStringLiteral("CmdUndo"));
    CmdUndo->adjustSize();
    const QRect frame = pixels(m_layout.frameAt);
    CmdUndo->move(frame.right() - CmdUndo->width(), frame.bottom() + tw(120));
    CmdUndo->setEnabled(false);
    connect(CmdUndo, &QPushButton::clicked, this, &RegisterWindow::CmdUndo_Click);
    auto* shortcut = new QShortcut(QKeySequence::Undo, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, &RegisterWindow::CmdUndo_Click);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
            qobject_cast<QAbstractSpinBox*>(w))
            w->installEventFilter(this);
    }
}

bool RegisterWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Left unaccepted, the key goes on to the window's shortcut.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) &&
        !holdsTypingToUndo(watched)) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// A diary that cannot be opened ends the load here: the failure reaches whoever opened the
// window, which reports it, and no empty register window is left behind.
void RegisterWindow::Form_Load()
{
    setWindowState(Qt::WindowMaximized);
    m_editor.OpenRegister();
}

void RegisterWindow::guarded(const std::function<void()>& handler)
{
    runReported(this, handler);
}

void RegisterWindow::ImageNew_Click()
{
    guarded([this] { m_editor.ImageNew_Click(); });
}

void RegisterWindow::ImageSave_Click()
{
    guarded([this] { m_editor.ImageSave_Click(); });
}

void RegisterWindow::ImageCancel_Click()
{
    guarded([this] { m_editor.ImageCancel_Click(); });
}

void RegisterWindow::ImageDelete_Click()
{
    guarded([this] { m_editor.ImageDelete_Click(); });
}

void RegisterWindow::CmdUndo_Click()
{
    guarded([this] { m_editor.Undo_Click(); });
}

void RegisterWindow::ImageExit_Click()
{
    unloadChildWindow(this);
}

void RegisterWindow::VScroll1_Change()
{
    guarded([this] { m_editor.VScroll1_Change(); });
}

void RegisterWindow::setSerialText(const QString& text)
{
    TxtSl_no->setText(varnel::kannadaDigits(text));
}

QString RegisterWindow::serialText() const
{
    return varnel::asciiDigits(TxtSl_no->text());
}

varnel::DateTimePicker* RegisterWindow::picker(int ordinal) const
{
    return qobject_cast<varnel::DateTimePicker*>(m_controls.value(ordinal));
}

void RegisterWindow::setDate(int ordinal, const QDate& date)
{
    picker(ordinal)->setValue(QDateTime(date, QTime(0, 0)));
}

QDate RegisterWindow::date(int ordinal) const
{
    return picker(ordinal)->Value().date();
}

void RegisterWindow::setTime(int ordinal, const QTime& time)
{
    picker(ordinal)->setValue(QDateTime(QDate(1899, 12, 30), time));
}

QTime RegisterWindow::time(int ordinal) const
{
    return picker(ordinal)->Value().time();
}

void RegisterWindow::setText(int ordinal, const QByteArray& varnel)
{
    QWidget* w = m_controls.value(ordinal);
    if (auto* line = qobject_cast<varnel::VarnelLineEdit*>(w))
        line->setVarnel(varnel);
    else if (auto* multi = qobject_cast<varnel::VarnelTextEdit*>(w))
        multi->setVarnel(varnel);
}

varnel::Encoded RegisterWindow::text(int ordinal) const
{
    QWidget* w = m_controls.value(ordinal);
    if (auto* line = qobject_cast<varnel::VarnelLineEdit*>(w))
        return line->varnel();
    if (auto* multi = qobject_cast<varnel::VarnelTextEdit*>(w))
        return multi->varnel();
    return {};
}

void RegisterWindow::setNavigatorMaximum(int maximum)
{
    m_navigator->setMaximum(maximum);
}

void RegisterWindow::setNavigatorValue(int value)
{
    m_navigator->setValue(value);
}

int RegisterWindow::navigatorValue() const
{
    return m_navigator->value();
}

void RegisterWindow::setNavigatorEnabled(bool enabled)
{
    m_navigator->setEnabled(enabled);
}

void RegisterWindow::setButtons(const ButtonStates& states)
{
    ImageNew->setIconVisible(states.imageNew);
    ImageNew->setDiscVisible(states.shapeNew);
    ImageCancel->setIconVisible(states.imageCancel);
    ImageDelete->setIconVisible(states.imageDelete);
    ImageDelete->setDiscVisible(states.shapeDelete);
}

void RegisterWindow::showNewCaptionInsteadOfCancel()
{
    ImageCancel->caption()->hide();
    ImageNew->caption()->show();
}

bool RegisterWindow::ask(const QByteArray& varnelQuestion)
{
    return frmquestion::ask(varnelQuestion, this);
}

void RegisterWindow::message(const QByteArray& varnelMessage)
{
    frmmsg::showMessage(varnelMessage, this);
}

void RegisterWindow::messageText(const QString& unicodeMessage)
{
    frmmsg::showText(unicodeMessage, this);
}

void RegisterWindow::saveNotice()
{
    frmsave::showNotice(this);
}

bool RegisterWindow::askText(const QString& unicodeQuestion)
{
    return frmquestion::askText(unicodeQuestion, this);
}

void RegisterWindow::setUndoAvailable(bool available)
{
    CmdUndo->setEnabled(available);
}

} // namespace registers
