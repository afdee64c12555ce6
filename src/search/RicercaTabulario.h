#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class Tabulario;

// The lookup run of the reprint and copy windows: a new lookup list on the
// archive for each search, and what becomes of the row chosen. The window
// either acts on the chosen file name itself or, when another program opened
// it (`RichiamoExt`), only hands the name on.
class RicercaTabulario : public QObject
{
    Q_OBJECT

public:
    explicit RicercaTabulario(QWidget* finestra);

    // Lists the rows of `istruzione` for the user to choose one.
    void Avvia(const QString& archivio, const QString& istruzione);

    // The lookup list of the run under way, or none.
    Tabulario* Trova() const;

    bool RichiamoExt = false;

signals:
    // A document was chosen and another program is to act on it.
    void Valore(const QString& strStampa);
    // A document was chosen and the window is to act on it.
    void DocumentoScelto(const QString& strStampa);

private:
    void Trova_ValoreDiRitorno(const QStringList& strValoreDiRitorno);

    QWidget* finestra_;
    QPointer<Tabulario> Trova_;
};
