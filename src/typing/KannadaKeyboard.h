#pragma once

#include <QString>
#include <Qt>

namespace varnel {

// The Kannada keyboards a text box can type with: the KGP layout of the typing schools, ITRANS
// transliteration, or none (keys type what is printed on them).
enum class KeyboardLayout { Off, Kgp, Itrans };

// What one key did to the composition.
struct TypedKey {
    bool taken = false; // the keyboard used the key: the text box must not see it as well
    QString commit;     // finished text, to go into the box before anything else
    QString preedit;    // the composition as it stands now (shown underlined)
    int cursor = 0;     // the caret inside the composition
};

// One typist's composition on an m17n keyboard map (m17n-db's kn-kgp and kn-itrans): key names
// in, finished text and the composition out. Needs no screen. Each text box has its own, so a
// word half typed in one box never finishes in another.
class KannadaKeyboard {
public:
    explicit KannadaKeyboard(KeyboardLayout layout);
    ~KannadaKeyboard();
    KannadaKeyboard(const KannadaKeyboard&) = delete;
    KannadaKeyboard& operator=(const KannadaKeyboard&) = delete;

    KeyboardLayout layout() const { return m_layout; }
    // False when the layout is Off or its map is not installed: every key passes through.
    bool isOpen() const { return m_context != nullptr; }

    // A key by its m17n name (see keyName).
    TypedKey press(const QString& key);
    // Finishes the composition: its text comes back as the commit, nothing is left composing.
    TypedKey finish();
    // Drops the composition unfinished.
    void discard();
    QString composition() const;

    // The m17n name of a key event that a keyboard map may use: a printable ASCII character
    // typed without Ctrl, Alt or Meta, Backspace or Return. Empty for every other key.
    static QString keyName(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

private:
    TypedKey run(const QString& key);

    KeyboardLayout m_layout;
    struct InputContext;
    InputContext* m_context = nullptr;
};

} // namespace varnel
