#include "mail/frmListaMail.h"

#include "common/Dialoghi.h"
#include "archive/Archivio.h"
#include "components/ComponenteReport.h"
#include "common/CartellaProgramma.h"
#include "mail/IstruzioniElencoMail.h"
#include "mail/StatoInvii.h"
#include "search/PannelloRicerca.h"

#include <QCoreApplication>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
OpzioniPannello Opzioni()
{
    OpzioniPannello opzioni;
    opzioni.leggiImpostazioniEmail = true;
    return opzioni;
}
}

frmListaMail::frmListaMail(const Contesto& contesto, QWidget* parent)
    : QWidget(parent), pannello_(new PannelloRicerca(this, contesto, Opzioni()))
{
    setObjectName(QStringLiteral("frmListaMail"));
    setWindowTitle(QStringLiteral("Elenco Email"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pannello_);
    cmdRicevute = new QPushButton(QStringLiteral("Aggiorna ricevute"), this);
    cmdRicevute->setObjectName(QStringLiteral("cmdRicevute"));
    cmdRicevute->setToolTip(QStringLiteral("Legge le ricevute della posta certificata arrivate nella casella del mittente"));
    layout->addWidget(cmdRicevute, 0, Qt::AlignRight);
    connect(pannello_, &PannelloRicerca::Cerca, this, &frmListaMail::cmdCerca_Click);
    connect(cmdRicevute, &QPushButton::clicked, this, &frmListaMail::cmdRicevute_Click);
    RegistraStatoConsegna();
    eseguibileVelmira = UnisciPercorso(QCoreApplication::applicationDirPath(), QStringLiteral("velmira"));
    pannello_->Carica();
}

void frmListaMail::cmdRicevute_Click()
{
    // A process of its own, as the dispatch: the window stays usable while a
    // slow server is read, and the mailbox's password never lives here.
    cmdRicevute->setEnabled(false);
    lettura_ = new QProcess(this);
    connect(lettura_, &QProcess::finished, this, [this](int codice, QProcess::ExitStatus stato) {
        QString testo = QString::fromUtf8(lettura_->readAllStandardOutput()).trimmed();
        const QString errori = QString::fromUtf8(lettura_->readAllStandardError()).trimmed();
        const bool riuscita = stato == QProcess::NormalExit && codice == 0;
        if (!riuscita)
            testo = errori.startsWith(QLatin1String("velmira: ")) ? errori.mid(9).section(QLatin1Char('\n'), 0, 0)
                                                                 : QStringLiteral("Lettura delle ricevute non riuscita.");
        if (!testo.isEmpty())
            testo[0] = testo[0].toUpper();
        lettura_->deleteLater();
        lettura_ = nullptr;
        cmdRicevute->setEnabled(true);
        MostraMessaggio(testo, riuscita ? Icona::Informazione : Icona::Esclamazione);
    });
    connect(lettura_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError errore) {
        if (errore == QProcess::FailedToStart)
            emit lettura_->finished(-1, QProcess::CrashExit);
    });
    lettura_->start(eseguibileVelmira, {QStringLiteral("ricevute"), QStringLiteral("--cartella-programma"),
                                          CartellaProgramma(UsoCartella::Programma)});
}

void frmListaMail::cmdCerca_Click()
{
    VisualizzaReport(IstruzioneElencoMail(pannello_->Modo(), pannello_->Criteri()));
}

void frmListaMail::VisualizzaReport(const QString& istruzione)
{
    auto report = ComponenteReport::Crea(QStringLiteral("ReportMan.ReportManX"));
    if (report) {
        report->FileName(QStringLiteral("ElencoInvioMail.rep"));
        report->Title(QStringLiteral("Elenco email"));
        report->SetParamValue(QStringLiteral("TITOLO"), TitoloElencoMail(pannello_->Modo(), pannello_->Criteri()));
        report->SetDatabaseConnectionString(
            QStringLiteral("MARVENA"), StringaConnessione(pannello_->contesto().strDatabase, {}));
        report->SetDatasetSQL(QStringLiteral("ELENCOMAIL"), istruzione);
        report->Preview(true);
        if (report->Execute())
            return;
        // The reason stays in the session's log for whoever looks after the office's desks.
        qWarning("Elenco email: %s", qPrintable(report->Errore()));
    }
    MostraMessaggio(QStringLiteral("Nessun elenco da visualizzare."), Icona::Informazione);
}
