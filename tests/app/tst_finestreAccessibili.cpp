#include "ArchivioProva.h"
#include "app/FinestreProgramma.h"
#include "app/frmPrincipale.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "components/ReportManX.h"
#include "mail/frmListaMail.h"
#include "mail/frmRiEmail.h"
#include "search/frmRistampa.h"
#include "settings/frmImposta.h"

#include <QAccessible>
#include <QAction>
#include <QTimer>

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
    else if (nodo->role() == QAccessible::Client && nodo->object() && nodo->object()->isWidgetType()
             && static_cast<QWidget*>(nodo->object())->isWindow())
        finestre << QStringLiteral("pannello senza nome ") + nodo->text(QAccessible::Name);
    for (int i = 0; i < nodo->childCount(); ++i)
        RaccogliFinestre(nodo->child(i), finestre);
}

} // namespace

class TestFinestreAccessibili : public QObject
{
    Q_OBJECT

private slots:
    // With every window of the program open, the lookup list, the e-mail
    // and report previews and the folder picker up: each is a window (or a
    // dialog) named by its title, alone or inside the main window.
    void finestreNominate()
    {
        ArchivioProva archivio({"fat9.pdf FAT 9 2014-03-15 C01"}, {"fat9.pdf"});
        QVERIFY(QFile::copy(QStringLiteral(VELMIRA_REPORT_ELENCO), archivio.percorso("ElencoInvioMail.rep")));
        Connessione connessione;
        QVERIFY(!connessione.Apri(StringaConnessione(archivio.database)).presente());
        QVERIFY(!connessione.Esegui("insert into EmailInviate (Stampa, dtinvio, EmailDest, Esito) values "
                                    "('fat9.pdf', '2014-03-15 10:00:00', 'a@esempio.it', 'Inviato')")
                     .presente());
        connessione.Chiudi();
        ReportManX::Registra();
        SelettoreCartella::Installa(nullptr); // the program's own folder picker

        frmPrincipale principale;
        RegistraFinestreProgramma(principale);
        principale.resize(1200, 900);
        QVERIFY(MostraAttiva(&principale));
        for (const char* voce : {"mnuFileRistampa", "mnuFileSeleziona", "mnuFileEmail", "mnuFileElencoMail",
                                 "mnuFileImporta", "mnuFileImpostazioni"})
            principale.findChild<QAction*>(voce)->trigger();
        QTest::mouseClick(principale.findChild<frmRistampa*>()->Pannello()->cmdCerca, Qt::LeftButton);
        QTest::mouseClick(principale.findChild<frmRiEmail*>()->Pannello()->cmdCerca, Qt::LeftButton);
        QTest::mouseClick(principale.findChild<frmListaMail*>()->Pannello()->cmdCerca, Qt::LeftButton);

        QStringList finestre;
        QTimer::singleShot(0, this, [&finestre] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            RaccogliFinestre(QAccessible::queryAccessibleInterface(qApp), finestre);
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        QTest::mouseClick(principale.findChild<frmImposta*>()->cmdPercorsoCartella, Qt::LeftButton);
        finestre.sort();
        QCOMPARE(finestre, QStringList({"dialogo Seleziona Documento", "dialogo Sfoglia per cartelle",
                                        "finestra Elenco Email", "finestra Elenco email",
                                        "finestra Importa Documenti", "finestra Imposta cartella documenti...",
                                        "finestra Invio email...", "finestra Seleziona Documenti",
                                        "finestra Seleziona Stampe", "finestra Visualizza Documenti"}));
        QVERIFY(archivio.dialoghi.messaggi.isEmpty());
    }
};

QTEST_MAIN(TestFinestreAccessibili)
#include "tst_finestreAccessibili.moc"
