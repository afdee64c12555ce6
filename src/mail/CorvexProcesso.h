#pragma once

#include "components/Corvex.h"
#include "common/Orologio.h"

#include <QMap>

class QProcess;

// The mail component as the helper program velmira-posta, run in a process
// of its own: the account and the table go to it on its standard input, its
// progress lines become Avanzamento and its end exactly one Risultato, also
// when it cannot start or dies on the way. Then the list of messages sent is
// written here from what the helper reported, each document it did not
// report marked as such, so that no dispatch goes unrecorded.
//
// The documents must lie in the context's PDF folder; the lines the program
// writes itself are stamped by the context's clock.
//
// Released while the helper still works, it lets the helper finish: the
// documents go and their list is written, only the event is not heard.
class CorvexProcesso : public Corvex
{
    Q_OBJECT

public:
    explicit CorvexProcesso(const Contesto& contesto, const QString& eseguibile = EseguibilePredefinito());
    ~CorvexProcesso() override;

    void InviaDocumenti(const TabellaInvio& tabella) override;
    QStringList ElencoNonScritto() const override { return nonScritto_; }

    // velmira-posta beside the running executable.
    static QString EseguibilePredefinito();

private:
    void leggiUscita();
    void concludi(bool esito, const QString& messaggio);
    void terminato(int codice, int stato);
    // The helper ended without its closing line: the list from what it said.
    QString completaElenco(const QString& esitoMancante);

    QString eseguibile_;
    QString cartellaPDF_;
    Orologio adesso_;
    QProcess* processo_ = nullptr;
    QByteArray resto_;
    TabellaInvio tabella_;
    QMap<int, QString> righe_; // column -> its list line, as the helper reported it
    bool concluso_ = false;
    bool fineRicevuta_ = false;
    bool esito_ = false;
    QString messaggio_;
    QStringList nonScritto_;
};
