#pragma once

#include "import/NotificheCartella.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>

class IndicizzazioneInSottofondo;
class QTimer;
class cImporta;
struct SelezioneImportazione;

struct ImpostazioniSorveglianza
{
    QString cartellaPDF;
    QString database;
    QString fileIni;
    // Between two full passes over the folder; 0: only at start and when
    // change notifications were lost.
    int intervalloCompleto = 300000;
    // A file that was created but not closed counts as complete once its
    // size and time have not changed for this long.
    int attesaStabile = 2000;
    // Most names handed to one run: a burst becomes a few runs, each with
    // one connection and one list, and a stop request waits for one only.
    int nomiPerLotto = 2000;
    // How often a folder that went away is looked for, and a run that could
    // not start is tried again.
    int attesaRitorno = 1000;
    // The time of the lines written and of the files' age.
    std::function<QDateTime()> orologio = [] { return QDateTime::currentDateTime(); };
};

// Keeps the archive up to date with the PDF folder while it runs. The
// system names the files that were closed after writing, renamed in,
// deleted or renamed away (NotificheCartella); they are archived or cleaned up in
// batches by the same engine as the import window. A full pass at start, at
// a fixed interval and whenever notifications were lost catches up with
// what no notification told (a folder mounted from a file server, where
// other machines' writes raise none). Never two runs at once. A folder that
// goes away (deleted, a share unmounted) is said once and looked for at a
// steady pace; nothing is archived or removed until it is back, and then a
// full pass catches up with it. After each run that archived something, and
// after each full pass, the documents' text is indexed.
class Sorveglianza : public QObject
{
    Q_OBJECT

public:
    // `riga` receives one line per run.
    Sorveglianza(const ImpostazioniSorveglianza& impostazioni, std::function<void(const QString&)> riga,
                 QObject* genitore = nullptr);
    ~Sorveglianza() override;

    // Starts watching and schedules the first full pass.
    void Avvia();
    // Stops after the run under way: a batch is finished, a full pass stops
    // at its next file. Fermata follows.
    void Ferma();
    // The first full pass could not start (a path failed its check).
    bool PercorsiErrati() const { return percorsiErrati_; }
    // The kernel's notifications are in use for the folder.
    bool NotificheAttive() const { return notifiche_ && notifiche_->Attive(); }

signals:
    void Fermata();

private:
    struct InScrittura
    {
        qint64 dimensione = -1;
        qint64 modifica = -1;
    };

    void Notificato(const QList<NotificheCartella::Evento>& eventi);
    void ControllaInScrittura();
    void Programma(int millisecondi);
    struct Rinvio;

    void Esegui();
    QList<QByteArray> Preleva(QSet<QByteArray>& insieme) const;
    void ConcludiCompleto();
    void ConcludiLotto(const SelezioneImportazione& lotto);
    // The text of the documents archived goes into the index (see IndicizzazioneInSottofondo).
    void IndicizzaTesto();
    QString Momento() const;
    void Concludi();
    // Whether the folder is there; if not, says so once and waits for it.
    bool CartellaPresente();
    void CercaCartella();

    ImpostazioniSorveglianza impostazioni_;
    std::function<void(const QString&)> riga_;
    std::unique_ptr<NotificheCartella> notifiche_;
    QTimer* prossimo_;
    QTimer* completo_;
    QTimer* stabili_;
    QTimer* ritorno_;
    QSet<QByteArray> nuovi_;
    QSet<QByteArray> rimossi_;
    QHash<QByteArray, InScrittura> inScrittura_;
    bool completoRichiesto_ = true;
    bool inCorso_ = false;
    bool completoInCorso_ = false;
    bool primoCompleto_ = true;
    bool fermaRichiesto_ = false;
    bool percorsiErrati_ = false;
    bool assente_ = false;
    bool riprova_ = false;
    cImporta* corrente_ = nullptr;
    IndicizzazioneInSottofondo* indice_;
};
