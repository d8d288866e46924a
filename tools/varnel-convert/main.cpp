// varnel-convert --to-unicode | --to-varnel: stdin to stdout, on velmora-cli's exit contract:
// 0 done, 2 bad input (usage; text with a character that has no Varnel form, refused as a whole:
// nothing is written and the first such character is named), 3 the environment failed (standard
// input unreadable, standard output not written whole). Messages: one line on stderr.

#include <cstdio>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "platform/varnel/VarnelCodec.h"

namespace {

constexpr int ExitBadInput = 2;
constexpr int ExitEnvironment = 3;

void printUsage(FILE* to)
{
    std::fputs("usage: varnel-convert --to-unicode | --to-varnel\n"
               "  --to-unicode  Varnel bytes on stdin to UTF-8 Kannada on stdout\n"
               "  --to-varnel   UTF-8 Kannada on stdin to Varnel bytes on stdout\n"
               "Exit status: 0 done; 2 bad input (usage, a character with no Varnel form: "
               "nothing is written); 3 the environment failed (standard input unreadable, "
               "standard output not written whole). Messages go to standard error.\n",
               to);
}

void complain(const QString& text)
{
    std::fputs(("varnel-convert: " + text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

bool readAll(QByteArray& data)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return false;
    data = in.readAll();
    return in.error() == QFileDevice::NoError;
}

bool writeAll(const QByteArray& data)
{
    const size_t size = size_t(data.size());
    return std::fwrite(data.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0 &&
           !std::ferror(stdout);
}

// "line L, column C" of a position in the (NFC) text, counting characters, from 1.
QString placeOf(const QString& text, qsizetype position)
{
    qsizetype line = 1;
    qsizetype column = 1;
    for (qsizetype i = 0; i < position && i < text.size(); ++i) {
        if (text.at(i) == u'\n') {
            ++line;
            column = 1;
        } else if (!text.at(i).isLowSurrogate()) {
            ++column;
        }
    }
    return QStringLiteral(u"ಸಾಲು %1, ಕಾಲಮ್ %2").arg(line).arg(column);
}

} // namespace

int main(int argc, char** argv)
{
    const QByteArray mode(argc == 2 ? argv[1] : "");
    if (mode == "--help" || mode == "-h") {
        printUsage(stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            complain(QStringLiteral(u"ಪ್ರಮಾಣಿತ ಔಟ್‌ಪುಟ್‌ಗೆ "
                                    u"ಬರೆಯಲಾಗಲಿಲ್ಲ."));
            return ExitEnvironment;
        }
        return 0;
    }
    if (mode != "--to-unicode" && mode != "--to-varnel") {
        complain(QStringLiteral(u"ಬಳಕೆ: varnel-convert --to-unicode | --to-varnel "
                                u"(varnel-convert --help ನೋಡಿ)."));
        return ExitBadInput;
    }
    QByteArray input;
    if (!readAll(input)) {
        complain(
            QStringLiteral(u"ಪ್ರಮಾಣಿತ ಇನ್‌ಪುಟ್ ಅನ್ನು "
                           u"ಓದಲಾಗಲಿಲ್ಲ."));
        return ExitEnvironment;
    }

    QByteArray output;
    if (mode == "--to-unicode") {
        output = varnel::decode(input).toUtf8();
    } else {
        const QString text = QString::fromUtf8(input);
        const varnel::Encoded e = varnel::encode(text);
        if (!e.ok()) {
            const varnel::Refusal& first = e.refusals.first();
            const QString nfc = text.normalized(QString::NormalizationForm_C);
            complain(QStringLiteral(u"«%1» (U+%2, %3) ಅಕ್ಷರಕ್ಕೆ Varnel ರೂಪವಿಲ್ಲ; ಏನನ್ನೂ "
                                    u"ಬರೆಯಲಿಲ್ಲ (ಇಂಥ %4 ಅಕ್ಷರಗಳಿವೆ).")
                         .arg(QString::fromUcs4(&first.character, 1))
                         .arg(uint(first.character), 4, 16, QLatin1Char('0'))
                         .arg(placeOf(nfc, first.position))
                         .arg(e.refusals.size()));
            return ExitBadInput;
        }
        output = e.bytes;
    }
    if (!writeAll(output)) {
        complain(QStringLiteral(u"ಪ್ರಮಾಣಿತ ಔಟ್‌ಪುಟ್‌ಗೆ "
                                u"ಬರೆಯಲಾಗಲಿಲ್ಲ; "
                                u"ಅದರಲ್ಲಿರುವುದು "
                                u"ಅಪೂರ್ಣ."));
        return ExitEnvironment;
    }
    return 0;
}
