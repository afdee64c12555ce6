#include "ArchivioDiProva.h"
#include "ArchivioProva.h"
#include "DiscoPiccolo.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/Recordset.h"
#include "components/ComponenteReport.h"
#include "components/DocumentoReport.h"
#include "components/ReportManX.h"
#include "components/frmAnteprimaReport.h"
#include "mail/frmListaMail.h"
#include "settings/Impostazioni.h"
#include "shell/SceltaFileDaSalvare.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>

namespace {

const QString nessunElenco = QStringLiteral("Nessun elenco da visualizzare.");

// The real component that keeps the title and the statement it is given and
// shows nothing: the file, the alias and the preview are reportInPdf's.
struct ReportRegistratore : ReportManX
{
    explicit ReportRegistratore(QStringList& chiamate) : c(chiamate) {}
    void SetParamValue(const QString& p, const QString& v) override { c << p + '|' + v; }
    void SetDatasetSQL(const QString& d, const QString& s) override { c << d + '|' + s; }
    bool Execute() override { return true; }
    QStringList& c;
};

// The archive of the other search windows with sent e-mails too: each row
// "file yyyy-mm-ddThh:mm:ss recipient outcome", and the report file beside the program.
struct ElencoProva : ArchivioProva
{
    ElencoProva(const QStringList& posta, const QStringList& invii) : ArchivioProva(posta)
    {
        QFile::copy(QStringLiteral(VELMIRA_REPORT_ELENCO), percorso("ElencoInvioMail.rep"));
        QFile::setPermissions(percorso("ElencoInvioMail.rep"), QFile::ReadOwner | QFile::WriteOwner);
        Connessione connessione;
        QVERIFY2(!connessione.Apri(StringaConnessione(database)).presente(), "archivio");
        auto comando = std::move(*connessione.Prepara(
            "insert into EmailInviate (Stampa, dtinvio, EmailDest, Esito) values (?, ?, ?, ?)"));
        for (const QString& riga : invii) {
            const QStringList c = riga.split(' ');
            const QString esito = c.mid(3).join(' ');
            QVERIFY2(!comando->Esegui({c[0], QString(c[1]).replace('T', ' '), c[2], esito}).presente(), "invio");
        }
    }
};

// Answers the "save as" dialog from a script and keeps what it was asked.
class SalvataggioFinto : public SelettoreFileDaSalvare
{
public:
    QString Scegli(QWidget*, const QString& titolo, const QString& proposto, const QString& filtro) override
    {
        richieste << titolo + '|' + QFileInfo(proposto).fileName() + '|' + filtro;
        return risposte.isEmpty() ? QString() : risposte.takeFirst();
    }
    QStringList richieste, risposte;
};

QList<frmAnteprimaReport*> Anteprime()
{
    QList<frmAnteprimaReport*> trovate;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* a = qobject_cast<frmAnteprimaReport*>(w); a && a->isVisible())
            trovate.append(a);
    return trovate;
}

} // namespace

class TestFrmListaMail : public QObject
{
    Q_OBJECT

private slots:
    void init() { ReportManX::Registra(); }

    void cleanup()
    {
        SelettoreFileDaSalvare::Installa(nullptr);
        for (auto* anteprima : Anteprime())
            delete anteprima;
        ComponenteReport::Registra(ReportManX::NomeClasse, nullptr);
    }

    // Each search as the report component gets it, and the archive takes every
    // statement, quotes included (the whole period, every type, is reportInPdf's).
    // Option -1: an archive without types (mode 5), where only the period counts,
    // whatever the type box says.
    void chiamate()
    {
        // Option, type, number or code typed; the statement and the title the report gets.
        const std::tuple<int, QString, QString, QString, QString> casi[] = {
            {0, " FAT ", "",
             "Select * from qryEmail where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='FAT' order by codice, dtInvio;",
             "Elenco documenti dal 01/03/2014 al 31/03/2014 inviati tramite email."},
            {1, " Tutti ", " 123 ",
             "Select * from qryEmail where year(data) =2014 and NumDoc='123' order by codice,dtInvio;",
             "Elenco Email inviate per documento:  123  anno: 2014"},
            {1, "B'L", "12'3",
             "Select * from qryEmail  where  year(data) =2014 and NumDoc='12''3' and tipo='B''L' order by codice, dtInvio;",
             "Elenco Email inviate per documento: 12'3 anno: 2014"},
            {2, "Tutti", " D'ANGELO ",
             "Select * from qryEmail where data between(#03/01/2014#) and (#03/31/2014#)and Codice='D''ANGELO' order by codice, dtInvio;",
             "Elenco documenti del Cod. CL/FORN.  D'ANGELO  periodo dal 01/03/2014 al 31/03/2014 inviati tramite email."},
            {2, "tutti", "C01",
             "Select * from qryEmail where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='tutti' and Codice='C01' order by codice, dtInvio;",
             "Elenco documenti del Cod. CL/FORN. C01 periodo dal 01/03/2014 al 31/03/2014 inviati tramite email."},
            {-1, "FAT", "",
             "Select * from qryEmail where data between(#03/01/2014#) and (#03/31/2014#) order by codice, dtInvio;",
             "Elenco documenti dal 01/03/2014 al 31/03/2014 inviati tramite email."},
        };
        for (const auto& [opzione, tipo, testo, istruzione, titolo] : casi) {
            ArchivioProva archivio(opzione >= 0 ? QStringList{"bol7.pdf BOL 7 2014-03-01 C01"} : QStringList{});
            QStringList registrate;
            ComponenteReport::Registra(ReportManX::NomeClasse,
                                       [&registrate] { return std::make_unique<ReportRegistratore>(registrate); });
            frmListaMail finestra;
            QVERIFY(MostraAttiva(&finestra));
            auto* p = finestra.Pannello();
            if (opzione < 0) {
                p->dtData->setDate(QDate(2014, 3, 1));
                p->dtDataFin->setDate(QDate(2014, 3, 31));
                Riscrivi(p->cmbTipo->lineEdit(), tipo);
                QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
            } else {
                Cerca(p, opzione, QDate(2014, 3, 1), QDate(2014, 3, 31), tipo, testo, testo);
            }
            QCOMPARE(registrate, QStringList({"TITOLO|" + titolo, "ELENCOMAIL|" + istruzione}));
            Recordset righe;
            const Errore errore = righe.ApriSql(StringaConnessione(archivio.database), istruzione);
            QVERIFY2(!errore.presente(), qPrintable(istruzione + ": " + errore.testo()));
        }
    }

    void reportInPdf()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) non installato");
        // Sent out of order, to three clients; one outcome far too long for its column.
        QStringList posta{"f1.pdf FAT 1 2014-03-03 C02", "f2.pdf FAT 2 2014-03-04 C01",
                          "b3.pdf BOL 3 2014-03-05 D'ANGELO", "f4.pdf FAT 4 2014-04-02 C01"};
        // The longest outcomes a dispatch writes are read whole.
        const QString ignoto = "Esito non noto: il server non ha confermato la ricezione";
        const QString rifiuto = "Non inviato: rifiuto temporaneo del server, riprovare più tardi (451 4.7.1 "
                                "Greylisting attivo: messaggio rimandato, riprovare tra 5 minuti. Fine)";
        QStringList invii, attesi;
        for (int i = 0; i < 40; ++i) {
            const QString ora = QTime(8, 0).addSecs(60 * (59 - i)).toString("HH:mm:ss");
            invii << "f2.pdf 2014-03-06T" + ora + " c01-" + QString::number(i) + "@esempio.it " + (i ? "OK" : ignoto);
            invii << "f1.pdf 2014-03-06T" + ora + " c02-" + QString::number(i) + "@esempio.it " + (i ? "OK" : rifiuto);
        }
        invii << "b3.pdf 2014-03-07T09:00:00 dangelo@esempio.it Respinto: " + QString("casella piena ").repeated(30) + "FINE"
              << "f4.pdf 2014-04-03T09:00:00 aprile@esempio.it OK";
        for (const QString cliente : {"c01", "c02"})
            for (int i = 39; i >= 0; --i)
                attesi << cliente + '-' + QString::number(i) + "@esempio.it";
        attesi << "dangelo@esempio.it";
        ElencoProva elenco(posta, invii);

        frmListaMail finestra;
        QVERIFY(MostraAttiva(&finestra));
        Cerca(finestra.Pannello(), 0, QDate(2014, 3, 1), QDate(2014, 3, 31));
        QVERIFY(elenco.dialoghi.messaggi.isEmpty());
        const auto anteprime = Anteprime();
        QCOMPARE(anteprime.size(), 1);
        frmAnteprimaReport* a = anteprime.first();
        const int pagine = a->Documento().NumeroPagine();
        QCOMPARE(QStringList({a->windowTitle(), a->lblPagine->text(), QString::number(a->spnPagina->value())}),
                 QStringList({"Elenco email", QString(" di %1 ").arg(pagine), "1"}));
        // Paging from the keyboard, as in any office viewer.
        QVERIFY(MostraAttiva(a));
        QList<int> viste;
        for (const auto& [tasto, modificatore] : {std::pair{Qt::Key_PageDown, Qt::NoModifier},
                                                  {Qt::Key_End, Qt::ControlModifier},
                                                  {Qt::Key_PageUp, Qt::NoModifier},
                                                  {Qt::Key_Home, Qt::ControlModifier}}) {
            QTest::keyClick(a, tasto, modificatore);
            viste << a->spnPagina->value();
        }
        QCOMPARE(viste, QList<int>({2, pagine, pagine - 1, 1}));

        // "Esporta PDF...": cancelled first, then saved under a name typed without ".pdf".
        SalvataggioFinto salvataggio;
        SelettoreFileDaSalvare::Installa(&salvataggio);
        salvataggio.risposte = {"", elenco.percorso("elenco")};
        QWidget* esporta = a->barra->widgetForAction(a->barra->findChild<QAction*>("cmdEsportaPdf"));
        const QString corrente = QDir::currentPath(); // where a file with no name would land
        QDir::setCurrent(elenco.cartella());
        QTest::mouseClick(esporta, Qt::LeftButton);
        QVERIFY(QDir::setCurrent(corrente) && QDir(elenco.cartella()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden).isEmpty());
        QTest::mouseClick(esporta, Qt::LeftButton);
        QCOMPARE(salvataggio.richieste,
                 QStringList(2, "Esporta PDF|Elenco email.pdf|Documenti PDF (*.pdf)"));
        const QString pdf = elenco.percorso("elenco.pdf");
        QProcess testo;
        testo.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(testo.waitForFinished(30000));
        const QString letto = QString::fromUtf8(testo.readAllStandardOutput());
        QCOMPARE(letto.count("Elenco documenti dal 01/03/2014 al 31/03/2014 inviati tramite email."), pagine);
        for (int i = 1; i <= pagine; ++i)
            QVERIFY2(letto.contains(QString("Pagina %1 di %2").arg(i).arg(pagine)), qPrintable(letto));
        QStringList trovati;
        for (auto it = QRegularExpression("\\S+@esempio\\.it").globalMatch(letto); it.hasNext();)
            trovati << it.next().captured();
        QCOMPARE(trovati, attesi);
        // A group going on past a page says so; the long outcome ends in "…"
        // on its fourth line, and the text never spills into the next page.
        for (const char* parte : {"Cod. Cliente / Fornitore: C01", "Cod. Cliente / Fornitore: C02", "(segue)", "Fine)",
                                  "Cod. Cliente / Fornitore: D'ANGELO", "06/03/2014 08:21:00", "Respinto: casella piena",
                                  "Esito non noto: il server non ha"})
            QVERIFY2(letto.contains(parte), qPrintable(letto));
        QCOMPARE(letto.count("…"), 1);
        QVERIFY(!letto.contains("FINE") && !letto.contains("aprile@esempio.it"));

        // A disk that fills up halfway: the user is told, once, and no half file is left.
        const QString pieno = elenco.percorso("pieno");
        DiscoPiccolo disco(pieno, 4);
        if (!disco.montato())
            QSKIP(qPrintable(disco.motivo()));
        salvataggio.risposte = {pieno + "/elenco.pdf"};
        QTest::mouseClick(esporta, Qt::LeftButton);
        QCOMPARE(Messaggi(elenco.dialoghi),
                 QStringList{Messaggio(Icona::Esclamazione, "Impossibile scrivere il file " + pieno
                                                                + "/elenco.pdf: controllare la cartella e lo spazio libero.")});
        QCOMPARE(QDir(pieno).entryList(QDir::Files), QStringList());
    }

    // Each fault of the report or of the archive: one message per click, and
    // the window stays there for the next try.
    void unSoloMessaggio()
    {
        // The last fault may be skipped where the archive's shell is missing.
        for (const QString guasto : {"mancante", "colonna", "vuoto", "componente", "bloccato"}) {
            init();
            ElencoProva elenco({"f1.pdf FAT 1 2014-03-03 C02"}, {"f1.pdf 2014-03-06T10:00:00 c@esempio.it OK"});
            frmListaMail finestra;
            QVERIFY(MostraAttiva(&finestra));
            const QString rep = elenco.percorso("ElencoInvioMail.rep");
            QDate dal(2014, 3, 1);
            QProcess blocco;
            if (guasto == "mancante") {
                QVERIFY(QFile::remove(rep));
            } else if (guasto == "colonna") {
                QFile file(rep);
                QVERIFY(file.open(QIODevice::ReadWrite));
                const QByteArray testo = file.readAll().replace("colonna: Esito |", "colonna: Fattura |");
                QVERIFY(file.seek(0) && file.write(testo) == testo.size());
            } else if (guasto == "vuoto") {
                dal = QDate(2014, 3, 20);
            } else if (guasto == "componente") {
                ComponenteReport::Registra(ReportManX::NomeClasse, nullptr);
            } else {
                // Another desk holds the archive for writing, in a process of its own.
                const QStringList shell = ShellArchivio(elenco.database);
                if (QStandardPaths::findExecutable(shell.first()).isEmpty())
                    QSKIP("shell dell'archivio non installata");
                blocco.start(shell.first(), shell.mid(1));
                QVERIFY(blocco.waitForStarted());
                blocco.write(ProvaSuServer()
                                 ? "BEGIN; LOCK TABLE emailinviate IN ACCESS EXCLUSIVE MODE; SELECT 'bloccato';\n"
                                 : "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; SELECT 'bloccato';\n");
                QVERIFY(blocco.waitForReadyRead(10000));
            }
            QStringList attesi;
            for (int prova = 0; prova < 2; ++prova) {
                Cerca(finestra.Pannello(), 0, dal, QDate(2014, 3, 31));
                attesi << Messaggio(Icona::Informazione, nessunElenco);
                QVERIFY2(Messaggi(elenco.dialoghi) == attesi, qPrintable(guasto + ": " + Messaggi(elenco.dialoghi).join(" / ")));
                QVERIFY(Anteprime().isEmpty());
                QVERIFY(finestra.isVisible() && finestra.Pannello()->cmdCerca->isEnabled());
            }
            blocco.closeWriteChannel();
            blocco.waitForFinished();
        }
    }

    // "Aggiorna ricevute" runs the reader and says, in the window's words,
    // why nothing could be read; the button is there for the next try.
    void aggiornaRicevute()
    {
        ElencoProva elenco({}, {});
        frmListaMail finestra;
        finestra.eseguibileVelmira = ESEGUIBILE_VELMIRA;
        QVERIFY(MostraAttiva(&finestra));
        QTest::mouseClick(finestra.cmdRicevute, Qt::LeftButton);
        QVERIFY(!finestra.cmdRicevute->isEnabled());
        const QString atteso = "Server della posta in arrivo non indicato nelle impostazioni (ServerImap nella sezione [Email] di ";
        QTRY_COMPARE_WITH_TIMEOUT(Messaggi(elenco.dialoghi),
                                  QStringList{Messaggio(Icona::Esclamazione, atteso + elenco.percorso("Velmira.ini") + ").")}, 60000);
        QVERIFY(finestra.cmdRicevute->isEnabled());
    }
};

QTEST_MAIN(TestFrmListaMail)
#include "tst_frmListaMail.moc"
