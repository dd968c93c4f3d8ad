// Start-up: the pictures a crash or a kill left unsaved, brought back from their journals.
#include "DialogRunner.h"
#include "JournalSession.h"
#include "TMDIChild.h"
#include "TMainForm.h"
#include "TRecup.h"

#include <QFile>

namespace vermeo {

namespace {

// A journalled picture in a new window under its caption and file name, modified; its
// journal becomes this run's.
void recoverPicture(TMainForm &form, JournalSession &session, const QString &path)
{
    JournalInfo info;
    const Picture pic = journal::read(path, &info);
    TMDIChild *child = form.OuvreFenetreImage(info.title);
    child->Init(pic.width(), pic.height(), clWhite);
    ImageDocument &doc = child->doc();
    doc.replacePicture(pic);
    // "Annuler" brings back the picture as recovered, not the blank one; no step of its
    // history is what the file holds.
    doc.startHistory(false);
    doc.FileName = info.fileName;
    child->RedimForm();
    form.prepareChild(child);
    QString adopted;
    try {
        adopted = session.adopt(path);
    } catch (const VermeoError &) {
        // Left where it is, it is offered again next time; this run journals its own.
    }
    child->keepJournal(session, adopted);
    if (adopted.isEmpty())
        child->journal()->writeNow();
}

} // namespace

void TMainForm::offerRecovery()
{
    if (!m_journals)
        return;
    const std::vector<JournalEntry> entries = m_journals->orphans();
    if (!entries.empty()) {
        std::vector<int> ticked;
        TRecup::Choice choice = TRecup::Ignore;
        {
            TRecup dlg(this);
            dlg.Init(entries);
            DialogRunner::exec(dlg);
            choice = dlg.Result(ticked);
        }
        QStringList failures;
        for (int i : ticked) {
            const JournalEntry &e = entries[size_t(i)];
            if (choice == TRecup::Remove) {
                QFile::remove(e.path);
            } else if (choice == TRecup::Recover && e.readable) {
                try {
                    recoverPicture(*this, *m_journals, e.path);
                } catch (const VermeoError &err) {
                    failures << e.info.title + QStringLiteral(" : ") + err.message();
                }
            }
        }
        if (!failures.isEmpty())
            DialogRunner::tell(this, QMessageBox::Critical,
                               QStringLiteral("Ces images n'ont pu être récupérées :\n") +
                                   failures.join(QLatin1Char('\n')));
    }
    m_journals->releaseOrphans();
}

} // namespace vermeo
