#pragma once

#include "common/Orologio.h"
#include "components/Corvex.h"

#include <QObject>
#include <memory>
#include <optional>

struct Contesto;

// The setting Porta as the mail component takes it: 0 for an empty text, a
// numeric text as a whole number (half to even); nothing for a text that is
// not numeric or a number that 16 bits cannot hold (signed or not). What the
// number means, 0 the usual port of the connection, is the component's.
std::optional<int> PortaSmtp(const QString& porta);

// One dispatch, from InviaDocumenti to the component's Risultato: it outlives
// the window that started it. On Risultato it records the list of messages
// sent, shows the component's message (with a note when lines of the list
// were not recorded), and goes, releasing the component.
class Spedizione : public QObject
{
    Q_OBJECT

public:
    // Sets the seven account values of `contesto` on `em` in the component's
    // order, hands it the table and returns at once; what was sent is recorded
    // in the context's archive. `porta` is PortaSmtp of the setting.
    static void Avvia(std::unique_ptr<Corvex> em, const Contesto& contesto, int porta, const TabellaInvio& tabella);

private:
    Spedizione(std::unique_ptr<Corvex> em, const Contesto& contesto);
    void Risultato(const QString& strMessaggio);

    std::unique_ptr<Corvex> em_;
    QString archivio_;
    Orologio adesso_;
};

// Tells whoever shows it (the main window's status bar) how the dispatches
// in progress are going.
class AvanzamentoInvii : public QObject
{
    Q_OBJECT

public:
    static AvanzamentoInvii& Istanza();
    int InCorso() const { return inCorso_; }

signals:
    void Avanzamento(int fatti, int totale);
    // A dispatch began or ended; InCorso() says how many are still running.
    void InCorsoCambiato(int inCorso);

private:
    friend class Spedizione;
    void Cambia(int differenza);
    int inCorso_ = 0;
};
