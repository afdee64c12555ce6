#include "CorvexFinto.h"

#include "common/CartellaProgramma.h"
#include "mail/ElencoMail.h"

#include <QTimer>

QList<CorvexFinto::Invio>& CorvexFinto::Invii()
{
    static QList<Invio> invii;
    return invii;
}

void CorvexFinto::Installa()
{
    Invii().clear();
    Corvex::InstallaFabbrica([](const Contesto&) { return std::make_unique<CorvexFinto>(); });
}

void CorvexFinto::Disinstalla()
{
    Corvex::InstallaFabbrica({});
}

CorvexFinto::~CorvexFinto()
{
    if (indice_ >= 0)
        Invii()[indice_].rilasciato = true;
}

void CorvexFinto::InviaDocumenti(const TabellaInvio& tabella)
{
    indice_ = Invii().size();
    Invii().append({{Mittente, TestoMail, OggettoMail, PasswordSmtp, QString::number(PortaSmtp), ServerSmtp,
                     Utente},
                    tabella});
    QTimer::singleShot(0, this, [this, tabella] {
        QStringList righe;
        for (qsizetype k = 0; k < tabella.percorsi.size(); ++k)
            righe.append(RigaElencoMail({QDateTime(QDate(2014, 3, 15), QTime(10, 31, int(k))), Mittente,
                                         tabella.destinatari.at(k), QStringLiteral("inviato"),
                                         tabella.percorsi.at(k), QStringLiteral("<finto-%1@esempio.it>").arg(k),
                                         QStringLiteral("250 Ok")}));
        ScriviElencoMail(CartellaProgramma(UsoCartella::Dati), righe, QDateTime(QDate(2014, 3, 15), QTime(10, 31)));
        emit Avanzamento(int(tabella.percorsi.size()), int(tabella.percorsi.size()));
        emit Risultato(true, QStringLiteral("Invio completato."));
    });
}
