#pragma once

#include "components/Corvex.h"

#include <QList>
#include <QStringList>

// The mail component as a test sees it: what each instance was given, and a
// list of messages sent written into the program's folder as the helper
// writes it (every document "inviato" at 15/03/2014 10:31, one second
// apart), before Risultato ("Invio completato.") is reported (later, from the event loop, as the
// helper process does). Installed as the maker for the test's length.
class CorvexFinto : public Corvex
{
public:
    struct Invio
    {
        QStringList valori; // the seven account values, in the component's order
        TabellaInvio tabella;
        bool rilasciato = false;
    };
    static QList<Invio>& Invii();
    static void Installa();
    static void Disinstalla();

    ~CorvexFinto() override;
    void InviaDocumenti(const TabellaInvio& tabella) override;

private:
    qsizetype indice_ = -1;
};
