// varnel-convert --to-unicode | --to-varnel: stdin to stdout.
// Text with a character that has no Varnel form is refused as a whole: nothing is written, the
// first such character is named on stderr and the exit status is 1.

#include <cstdio>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "platform/varnel/VarnelCodec.h"

namespace {

constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;
constexpr int ExitIo = 3;

void printUsage(FILE* to)
{
    std::fputs("usage: varnel-convert --to-unicode | --to-varnel\n"
               "  --to-unicode  Varnel bytes on stdin to UTF-8 Kannada on stdout\n"
               "  --to-varnel   UTF-8 Kannada on stdin to Varnel bytes on stdout\n",
               to);
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
    QFile out;
    return out.open(stdout, QIODevice::WriteOnly) && out.write(data) == data.size() && out.flush();
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
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        printUsage(stderr);
        return ExitUsage;
    }
    const QByteArray mode(argv[1]);
    if (mode == "--help" || mode == "-h") {
        printUsage(stdout);
        return 0;
    }
    if (mode != "--to-unicode" && mode != "--to-varnel") {
        printUsage(stderr);
        return ExitUsage;
    }
    QByteArray input;
    if (!readAll(input)) {
        std::fputs("varnel-convert: cannot read standard input\n", stderr);
        return ExitIo;
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
            const QString message =
                QStringLiteral("varnel-convert: «%1» (U+%2) at %3 has no Varnel form; "
                               "nothing was written (%4 such characters in all)\n")
                    .arg(QString::fromUcs4(&first.character, 1))
                    .arg(uint(first.character), 4, 16, QLatin1Char('0'))
                    .arg(placeOf(nfc, first.position))
                    .arg(e.refusals.size());
            std::fputs(message.toUtf8().constData(), stderr);
            return ExitRefused;
        }
        output = e.bytes;
    }
    if (!writeAll(output)) {
        std::fputs("varnel-convert: cannot write standard output\n", stderr);
        return ExitIo;
    }
    return 0;
}
