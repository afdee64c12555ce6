#include "ArchivioProva.h"
#include "app/FinestreProgramma.h"
#include "app/frmPrincipale.h"
#include "components/ReportManX.h"
#include "mail/frmListaMail.h"
#include "mail/frmRiEmail.h"
#include "search/frmRistampa.h"
#include "settings/frmImposta.h"
#include "shell/DialogoCartella.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QSqlQuery>
#include <QTimer>
#include <QTreeView>

namespace {

// Every window a screen reader finds walking the accessibility tree from the
// program down, "role name", hidden ones left out.
void RaccogliFinestre(QAccessibleInterface* nodo, QStringList& finestre)
{
    if (!nodo || nodo->state().invisible)
        return;
    if (nodo->role() == QAccessible::Window || nodo->role() == QAccessible::Dialog)
        finestre << QStringLiteral("%1 %2").arg(nodo->role() == QAccessible::Window ? "finestra" : "dialogo",
                                               nodo->text(QAccessible::Name));
    for (int i = 0; i < nodo->childCount(); ++i)
        RaccogliFinestre(nodo->child(i), finestre);
}

} // namespace

class TestFinestreAccessibili : public QObject
{
    Q_OBJECT

private slots:
    // With every window of the program open, the lookup list, the e-mail
    // and report previews and the folder picker up, each is a window (or a
    // dialog) named by its title, alone or inside the main window. The
    // picker shows its prompt above the folder tree, at 50,50 and 425 x 400,
    // and a subfolder of the home folder is chosen with the keys.
    void finestreNominate()
    {
        ArchivioProva archivio({"fat9.pdf FAT 9 2014-03-15 C01"});
        QVERIFY(QFile::copy(QStringLiteral(VELMIRA_REPORT_ELENCO), archivio.percorso("ElencoInvioMail.rep")));
        SuArchivio(archivio.database, [](QSqlDatabase& db) {
            QVERIFY(QSqlQuery(db).exec("insert into EmailInviate (Stampa, dtinvio, EmailDest, Esito) values "
                                       "('fat9.pdf', '2014-03-15 10:00:00', 'a@esempio.it', 'Inviato')"));
        });
        const QByteArray casa = qgetenv("HOME");
        qputenv("HOME", archivio.percorso("server").toLocal8Bit());
        ReportManX::Registra();
        SelettoreCartella::Installa(nullptr); // the program's own folder picker

        frmPrincipale principale;
        RegistraFinestreProgramma(principale);
        principale.resize(1200, 900);
        QVERIFY(MostraAttiva(&principale));
        for (const char* voce : {"mnuFileRistampa", "mnuFileSeleziona", "mnuFileEmail", "mnuFileElencoMail",
                                 "mnuFileImporta", "mnuFileImpostazioni"})
            principale.findChild<QAction*>(voce)->trigger();
        for (PannelloRicerca* p : {principale.findChild<frmRistampa*>()->Pannello(),
                                   principale.findChild<frmRiEmail*>()->Pannello(),
                                   principale.findChild<frmListaMail*>()->Pannello()})
            QTest::mouseClick(p->cmdCerca, Qt::LeftButton);

        QStringList finestre;
        QTimer::singleShot(0, this, [&finestre] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            RaccogliFinestre(QAccessible::queryAccessibleInterface(qApp), finestre);
            auto* d = qobject_cast<DialogoCartella*>(QApplication::activeModalWidget());
            if (!d) // some other picker: closed, so that the comparison below tells
                return void(QApplication::activeModalWidget()->close());
            finestre << d->lblRichiesta->text()
                    + QStringLiteral(" %1,%2 %3x%4").arg(d->x()).arg(d->y()).arg(d->width()).arg(d->height())
                    + (d->lblRichiesta->geometry().bottom() < d->albero->geometry().top() ? " sopra" : " sotto");
            QTest::keyClick(d->albero, Qt::Key_Right);
            QTRY_VERIFY(d->albero->model()->rowCount(d->albero->currentIndex()) > 0);
            QTest::keyClick(d->albero, Qt::Key_Down);
            QTest::keyClick(d->albero, Qt::Key_Return);
        });
        auto* impostazioni = principale.findChild<frmImposta*>();
        QTest::mouseClick(impostazioni->cmdPercorsoCartella, Qt::LeftButton);
        qputenv("HOME", casa);
        QCOMPARE(finestre, QStringList({"finestra Seleziona Stampe", "finestra Visualizza Documenti",
                                        "finestra Seleziona Documenti", "finestra Elenco Email",
                                        "finestra Importa Documenti", "finestra Imposta cartella documenti...",
                                        "finestra Invio email...", "dialogo Seleziona Documento",
                                        "finestra Elenco email", "dialogo Sfoglia per cartelle",
                                        RichiestaCartellaPdf + " 50,50 425x400 sopra"}));
        QCOMPARE(impostazioni->txtPercorsoCartella->text(), archivio.cartellaPdf);
        QVERIFY(archivio.dialoghi.messaggi.isEmpty());
    }
};

QTEST_MAIN(TestFinestreAccessibili)
#include "tst_finestreAccessibili.moc"
