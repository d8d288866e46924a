#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The rows of data/vectors.tsv: every Varnel string the program shows, with its Kannada.
struct VarnelVector {
    int number = 0;
    QByteArray bytes;
    QString unicode;
    QString meaning;
};

QList<VarnelVector> loadVarnelVectors();
