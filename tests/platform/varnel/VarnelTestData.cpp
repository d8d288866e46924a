#include "VarnelTestData.h"

#include <QFile>
#include <QStringList>
#include <QtTest>

namespace {

QByteArray bytesFromHex(const QString& hex)
{
    QByteArray bytes;
    for (const QString& h : hex.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        bytes.append(char(h.toUInt(nullptr, 16)));
    return bytes;
}

QString textFromCodePoints(const QString& codePoints)
{
    QString text;
    for (const QString& cp : codePoints.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const char32_t c = cp.mid(2).toUInt(nullptr, 16);
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

} // namespace

// Bytes and text are read from the hex and code point columns; the readable columns must agree
// with them, so that an edit of the file that breaks one of them is caught.
QList<VarnelVector> loadVarnelVectors()
{
    QFile file(QStringLiteral(VARNEL_TEST_DATA "/vectors.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(file.fileName()));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QList<VarnelVector> vectors;
    for (const QString& line : lines.mid(1)) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() < 6)
            qFatal("short row in vectors.tsv: %s", qPrintable(line));
        VarnelVector v{f[0].toInt(), bytesFromHex(f[2]), textFromCodePoints(f[4]), f[5]};
        if (f[1].toLatin1() != v.bytes || f[3] != v.unicode)
            qFatal("vectors.tsv row %d: readable and coded columns differ", v.number);
        vectors.append(v);
    }
    return vectors;
}
