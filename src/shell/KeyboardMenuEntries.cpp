#include "shell/KeyboardMenuEntries.h"

#include <QLabel>

#include "shell/KeyboardIndicator.h"
#include "shell/ShapeWidget.h"
#include "shell/ShellColours.h"
#include "shell/frmMenu.h"
#include "typing/KannadaTyping.h"

using varnel::KannadaTyping;
using varnel::KeyboardLayout;

void addKeyboardEntries(frmMenu* menu)
{
    const KeyboardLayout layouts[] = {KeyboardLayout::Kgp, KeyboardLayout::Itrans,
                                      KeyboardLayout::Off};
    for (int i = 0; i < 3; ++i) {
        const KeyboardLayout layout = layouts[i];
        QLabel* row = menu->addRow(QStringLiteral("LabelKeyboard(%1)").arg(i),
                                   KeyboardIndicator::layoutName(layout),
                                   [layout] { KannadaTyping::instance().setLayout(layout); });
        // The dot stands in the row's indent, left of its text.
        auto* dot = new ShapeWidget(ShapeWidget::Kind::Circle, row);
        dot->setObjectName(QStringLiteral("ShapeKeyboard(%1)").arg(i));
        dot->setFillColour(shell::kBlack);
        dot->setBorderColour(shell::kBlack);
        dot->setGeometry(row->indent() / 2 - 3, row->height() / 2 - 3, 7, 7);
        auto mark = [dot, layout] {
            dot->setVisible(KannadaTyping::instance().layout() == layout);
        };
        mark();
        QObject::connect(&KannadaTyping::instance(), &KannadaTyping::changed, dot, mark);
    }
}
