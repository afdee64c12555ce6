#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct Contesto;

// What a dispatch sends: column k is the k-th ticked document, row 0 its full
// path and row 1 its recipient. Empty (no dimensions) when nothing is ticked.
struct TabellaInvio
{
    QStringList percorsi;    // (0, k)
    QStringList destinatari; // (1, k)

    bool Vuota() const { return percorsi.isEmpty(); }
};

// The account and message a dispatch is made with.
struct ValoriCorvex
{
    QString Mittente;
    QString TestoMail;
    QString OggettoMail;
    QString PasswordSmtp;
    int PortaSmtp = 0; // 0: the protocol's usual port
    QString ServerSmtp;
    QString Utente;
};

// The mail component: sends the documents of a dispatch table in a process of
// its own and returns from InviaDocumenti at once. When the dispatch is over
// it has written its list of messages sent (a file whose name contains
// "ElencoMail") into the program's folder, and then reports Risultato, once.
class Corvex : public QObject, public ValoriCorvex
{
    Q_OBJECT

public:
    virtual void InviaDocumenti(const TabellaInvio& tabella) = 0;

    // The lines of the list of messages sent that could not be written to a
    // file (a full disk), once Risultato is reported: recorded from here.
    virtual QStringList ElencoNonScritto() const { return {}; }

    // A new instance for one dispatch made in `contesto` (its PDF folder and
    // clock), from the maker installed by the program (the helper process) or
    // by a test (a double); null when none is installed.
    using Fabbrica = std::function<std::unique_ptr<Corvex>(const Contesto& contesto)>;
    static std::unique_ptr<Corvex> Crea(const Contesto& contesto);
    static void InstallaFabbrica(Fabbrica fabbrica);

signals:
    // Documents handled so far, for the main window's status bar.
    void Avanzamento(int fatti, int totale);
    void Risultato(bool blnRis, const QString& strMessaggio);
};
