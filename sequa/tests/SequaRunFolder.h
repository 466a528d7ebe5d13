#pragma once

// A scratch lab folder holding a copy of the built Sequa, for the tests
// that run the program as a scheduler would.
#include "common/testsupport/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace lumen::sequa::test {

class SequaRunFolder : public ::testing::Test
{
protected:
    SequaRunFolder()
    {
        QDir(m_folder.path()).mkpath(QStringLiteral("tmp"));
        m_folder.setWorkingDirectory(path(QStringLiteral("tmp")));
    }

    QString path(const QString &name) const { return m_folder.filePath(name); }

    /** Writes a script of `lines` with CR LF line ends; gives its path. */
    QString writeScript(const QString &name, const QStringList &lines) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            ADD_FAILURE() << "cannot write " << name.toStdString();
        file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
        return path(name);
    }

    /** The journals the runs left, oldest first. */
    QStringList journals() const
    {
        const QDir dir(path(QStringLiteral("journal")));
        QStringList paths;
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            paths.append(dir.filePath(name));
        return paths;
    }

    static QString textOf(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    lumen::test::ProgramFolder m_folder{{QStringLiteral(SEQUA_EXE)}};
};

} // namespace lumen::sequa::test

#endif
