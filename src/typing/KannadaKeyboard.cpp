#include "typing/KannadaKeyboard.h"

#include <map>

#include <m17n-misc.h>
#include <m17n.h>

namespace varnel {

namespace {

// m17n keeps its maps for the life of the process; each is read from m17n-db once.
MInputMethod* inputMethod(KeyboardLayout layout)
{
    static const bool started = [] {
        M17N_INIT();
        return merror_code == MERROR_NONE;
    }();
    static std::map<KeyboardLayout, MInputMethod*> opened;
    if (!started || layout == KeyboardLayout::Off)
        return nullptr;
    const auto found = opened.find(layout);
    if (found != opened.end())
        return found->second;
    const char* name = layout == KeyboardLayout::Kgp ? "kgp" : "itrans";
    MInputMethod* im = minput_open_im(msymbol("kn"), msymbol(name), nullptr);
    opened.emplace(layout, im);
    return im;
}

QString toQString(MText* text)
{
    QString out;
    if (!text)
        return out;
    const int length = mtext_len(text);
    for (int i = 0; i < length; ++i) {
        const char32_t c = static_cast<char32_t>(mtext_ref_char(text, i));
        out.append(QString::fromUcs4(&c, 1));
    }
    return out;
}

} // namespace

struct KannadaKeyboard::InputContext {
    MInputContext* ic;
};

KannadaKeyboard::KannadaKeyboard(KeyboardLayout layout) : m_layout(layout)
{
    if (MInputMethod* im = inputMethod(layout)) {
        if (MInputContext* ic = minput_create_ic(im, nullptr))
            m_context = new InputContext{ic};
    }
}

KannadaKeyboard::~KannadaKeyboard()
{
    if (m_context)
        minput_destroy_ic(m_context->ic);
    delete m_context;
}

TypedKey KannadaKeyboard::run(const QString& key)
{
    TypedKey result;
    if (!m_context)
        return result;
    MInputContext* ic = m_context->ic;
    // Mnil is m17n's "no key": the map finishes what it holds.
    const MSymbol symbol = key.isEmpty() ? Mnil : msymbol(key.toLatin1().constData());
    if (minput_filter(ic, symbol, nullptr)) {
        result.taken = true;
    } else {
        // The map may finish text and still leave the key to the box (a space, a full stop).
        MText* produced = mtext();
        result.taken = minput_lookup(ic, symbol, nullptr, produced) == 0 && !key.isEmpty();
        result.commit = toQString(produced);
        m17n_object_unref(produced);
    }
    result.preedit = toQString(ic->preedit);
    result.cursor = qBound(0, ic->cursor_pos, int(result.preedit.size()));
    return result;
}

TypedKey KannadaKeyboard::press(const QString& key)
{
    if (key.isEmpty())
        return {};
    return run(key);
}

TypedKey KannadaKeyboard::finish()
{
    if (composition().isEmpty())
        return {};
    return run(QString());
}

void KannadaKeyboard::discard()
{
    if (m_context)
        minput_reset_ic(m_context->ic);
}

QString KannadaKeyboard::composition() const
{
    return m_context ? toQString(m_context->ic->preedit) : QString();
}

QString KannadaKeyboard::keyName(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    switch (qtKey) {
    case Qt::Key_Backspace: return QStringLiteral("BackSpace");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("Return");
    default: break;
    }
    if (text.size() == 1 && text.at(0).unicode() >= 0x20 && text.at(0).unicode() < 0x7F)
        return text;
    return {};
}

} // namespace varnel
