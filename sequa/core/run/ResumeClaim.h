#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::sequa {

/**
 * A run is continued once: a resume claims the run it continues by the
 * run's identity, written in its journal, not by the journal's path, so a
 * copy of the journal in another folder claims the same run. The claims lie
 * in one folder that every run of the installation shares, and a claim is
 * decided under a lock on that folder, so two resumes started together
 * cannot both win.
 */
namespace ResumeClaim {

/** The journal entry that names the run ("Run id: ..."), written when the journal opens. */
inline const QString kIdEntry = QStringLiteral("Run id: ");

/** A fresh identity for a new run. */
QString newIdentity();

/**
 * The identity of the run a journal tells of: its "Run id:" entry, or for a
 * journal written before runs had one, a digest of its opening entries (its
 * start, script and SHA-256), which a copy shares too.
 */
QString identityOf(const QByteArray &journal);
/** The same of a journal file; Failure when it cannot be read. */
QString identityOfFile(const QString &journal);

/**
 * Claims the run `identity` for the journal `continuing`, in `folder`.
 * Failure "it was continued already by JOURNAL" when another journal claimed
 * it and played, plays, or was killed playing; the claim of a journal whose
 * run played nothing (status 2) is free again.
 */
void claim(const QString &folder, const QString &identity, const QString &continuing);

/** The same test as claim() without claiming: Failure when the run was continued already. */
void requireUnclaimed(const QString &folder, const QString &identity);

/** The folder every run of this installation shares: ".sequa/claims" in LUMEN_ROOT. */
QString sharedFolder();

} // namespace ResumeClaim

} // namespace lumen::sequa
