#include "legacy/LegacyImport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "legacy/DiaryWriter.h"
#include "legacy/JetHeader.h"
#include "legacy/JetReader.h"
#include "legacy/LegacyError.h"
#include "legacy/LegacyLayout.h"
#include "platform/files/FileChecks.h"
#include "platform/files/FileTexts.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"

namespace legacy {

namespace {

[[noreturn]] void refuse(const QString& path, const QString& reason)
{
    throw LegacyError(QStringLiteral("The legacy diary '%1' cannot be brought over: %2. "
                                     "Nothing was changed.")
                          .arg(path, reason));
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Renames `from` to `to` unless `to` exists; false then. Other failures throw.
bool renameWithoutReplacing(const QString& from, const QString& to)
{
    try {
        return data::publishNewFile(from, to);
    } catch (const jet::JetError&) {
        throw LegacyError(QStringLiteral("Could not rename '%1' to '%2': %3. Nothing was changed.")
                              .arg(from, to, errnoText()));
    }
}

// The name a new diary gets: the usual spelling for any letter case of the usual name.
QString spellingToCreate(const QString& name)
{
    const QString canonical = QString::fromLatin1(data::kDiaryFileName);
    return name.compare(canonical, Qt::CaseInsensitive) == 0 ? canonical : name;
}

// Fills the new diary `scratch` (a private, empty file) with `legacy`.
void buildDiaryAside(const QString& scratch, const LegacyDiary& legacy,
                     const ImportProgress& progress, int total)
{
    auto database = jet::Database::CreateDatabase(scratch);
    data::createDiarySchema(*database);
    writeRegisters(*database, legacy.registers, [&](int written) {
        if (progress)
            progress(total + written, 2 * total);
    });
} // closed here, so the journal is folded into the file before it moves

int rowsIn(const LegacyDiary& legacy)
{
    int total = 0;
    for (const ConvertedRegister& r : legacy.registers)
        total += int(r.rows.size());
    return total;
}

ImportSummary summaryOf(const LegacyDiary& legacy, const QString& diaryFile)
{
    ImportSummary summary;
    summary.legacyFile = legacy.path;
    summary.diaryFile = diaryFile;
    summary.jetVersion = legacy.jetVersion;
    for (const ConvertedRegister& r : legacy.registers)
        summary.registers.append(r.summary);
    return summary;
}

// "Tarnalist-jet.mdb", then "Tarnalist-jet-2.mdb" and on: the first name that is free.
QString moveAside(const QString& jetFile, const QString& diaryName)
{
    const QFileInfo info(jetFile);
    const QString base = QFileInfo(diaryName).completeBaseName();
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? QStringLiteral("%1-jet.mdb").arg(base)
                                    : QStringLiteral("%1-jet-%2.mdb").arg(base).arg(n);
        const QString kept = info.dir().filePath(name);
        // A name taken in another letter case would be confusing beside the diary: skip it too.
        if (!data::findDiaryFile(kept).isEmpty())
            continue;
        if (renameWithoutReplacing(jetFile, kept))
            return kept;
    }
    refuse(jetFile, QStringLiteral("no free name was found to keep it under"));
}

} // namespace

LegacyDiary readLegacyDiary(const QString& jetFile, const ImportProgress& progress)
{
    // A FIFO or a device would block the reader.
    files::requireRegularFile(jetFile, files::texts::legacyDiary);
    const JetHeader header = readJetHeader(jetFile);
    switch (header.kind) {
    case JetHeader::Kind::Missing:
        refuse(jetFile, QStringLiteral("it does not exist or cannot be read"));
    case JetHeader::Kind::NotJet:
        refuse(jetFile, QStringLiteral("it is not a Jet (.mdb) database"));
    case JetHeader::Kind::NewerJet:
        refuse(jetFile, QStringLiteral("it is of a newer Jet version (%1), which cannot be "
                                       "brought over; only Jet 3 and Jet 4 files can")
                            .arg(header.version));
    case JetHeader::Kind::Jet3:
    case JetHeader::Kind::Jet4: break;
    }
    const RawDiary raw = readJetDiary(jetFile, [&](int read, int total) {
        if (progress)
            progress(read, 2 * total);
    });
    LegacyDiary legacy;
    legacy.path = jetFile;
    legacy.jetVersion = raw.jetVersion;
    const JetTextForm form = raw.jetVersion == 0 ? JetTextForm::Latin1 : JetTextForm::Windows1252;
    const QList<LegacyRegister>& layouts = legacyRegisters();
    for (int i = 0; i < layouts.size(); ++i)
        legacy.registers.append(convertRegister(layouts[i], raw.registers.value(i), form, jetFile));
    return legacy;
}

QString legacyDiaryIn(const QString& folder)
{
    const QString found =
        data::findDiaryFile(QDir(folder).filePath(QString::fromLatin1(data::kDiaryFileName)));
    if (found.isEmpty() || !readJetHeader(found).isJet())
        return {};
    return found;
}

ImportSummary importInPlace(const QString& jetFile, const QString& diaryName,
                            const ImportProgress& progress)
{
    const LegacyDiary legacy = readLegacyDiary(jetFile, progress);
    const QString folder = files::folderOf(jetFile);
    const QString name = spellingToCreate(diaryName);
    const QString target = QDir(folder).filePath(name);
    // The new diary is as private as the Jet file it replaces.
    files::SafeOutput output(target, files::Privacy::LikeDiary, jetFile);
    buildDiaryAside(output.handOver(), legacy, progress, rowsIn(legacy));
    QString kept;
    try {
        kept = moveAside(jetFile, name);
        if (!output.commitIfAbsent())
            throw LegacyError(QStringLiteral("Another diary '%1' appeared while the records were "
                                             "brought over; it was left as it is. Nothing was "
                                             "changed.")
                                  .arg(target));
    } catch (...) {
        if (!kept.isEmpty())
            renameWithoutReplacing(kept, jetFile);
        throw;
    }
    ImportSummary summary = summaryOf(legacy, target);
    summary.keptAs = kept;
    return summary;
}

ImportSummary importIntoDiary(const QString& jetFile, const QString& diaryPath,
                              const ImportProgress& progress)
{
    const QString existing = data::findDiaryFile(diaryPath);
    if (!existing.isEmpty()) {
        const QString jetCanonical = files::canonicalPath(jetFile);
        if (!jetCanonical.isEmpty() && files::canonicalPath(existing) == jetCanonical)
            return importInPlace(jetFile, QFileInfo(existing).fileName(), progress);
        // No connection to it exists yet, so its header may be read.
        if (readJetHeader(existing).isJet())
            throw LegacyError(QStringLiteral("The diary '%1' is itself a Jet file; bring it over "
                                             "first (velmora-cli import '%1'). Nothing was "
                                             "changed.")
                                  .arg(existing));
    }
    const LegacyDiary legacy = readLegacyDiary(jetFile, progress);
    const int total = rowsIn(legacy);
    if (!existing.isEmpty()) {
        auto database = data::OpenDiaryDatabase(existing);
        writeRegisters(*database, legacy.registers, [&](int written) {
            if (progress)
                progress(total + written, 2 * total);
        });
        return summaryOf(legacy, existing);
    }
    const QString folder = files::folderOf(diaryPath);
    if (!files::isFolder(folder))
        throw LegacyError(QStringLiteral("The folder of the diary '%1' does not exist. Nothing "
                                         "was changed.")
                              .arg(diaryPath));
    const QString name = spellingToCreate(diaryPath.mid(diaryPath.lastIndexOf(u'/') + 1));
    const QString target = QDir(folder).filePath(name);
    files::SafeOutput output(target);
    buildDiaryAside(output.handOver(), legacy, progress, total);
    if (!output.commitIfAbsent())
        throw LegacyError(QStringLiteral("Another diary '%1' appeared while the records were "
                                         "brought over; it was left as it is. Nothing was "
                                         "changed.")
                              .arg(target));
    return summaryOf(legacy, target);
}

} // namespace legacy
