#include "TempProgramFolder.h"

#include "data/ProgramFolder.h"

TempProgramFolder::TempProgramFolder() : m_previous(data::programFolder())
{
    data::setProgramFolder(m_dir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    data::setProgramFolder(m_previous);
}

QString TempProgramFolder::diaryPath() const
{
    return m_dir.path() + QStringLiteral("\\Tarnalist.mdb");
}
