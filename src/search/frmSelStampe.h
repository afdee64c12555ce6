#pragma once

#include "settings/Contesto.h"

#include <QWidget>

class PannelloRicerca;
class QLineEdit;
class QPushButton;
class RicercaTabulario;
class Tabulario;

// "Seleziona Documenti": copies the documents found to a local folder. The
// date and code searches copy every document found and list them in the
// day's list file; the number search and the plain date search let the user
// choose one document from the lookup list.
class frmSelStampe : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool RichiamoExt READ RichiamoExt WRITE setRichiamoExt)

public:
    explicit frmSelStampe(const Contesto& contesto = {}, QWidget* parent = nullptr);

    // Copies every document of the statement `stRsql` into `strCartella`
    // and writes the day's list of the documents copied.
    void PrelevaDoc(const QString& stRsql, const QString& strCartella);
    // Copies the one document whose file name is `stRsql` into `strCartella`.
    void PrelevaDocSingolo(const QString& stRsql, const QString& strCartella);
    // Appends one line to the list file `strNomeFile` of the lists' folder.
    void ScriviElenco(const QString& strData, const QString& strNumero, const QString& strFile,
                      const QString& strTipo, const QString& strCodice, const QString& strNomeFile);

    // When set, the document chosen in the lookup list is not copied: Valore
    // hands its file name to whoever opened the window.
    bool RichiamoExt() const;
    void setRichiamoExt(bool valore);

    PannelloRicerca* Pannello() const { return pannello_; }
    Tabulario* Trova() const;

    QLineEdit* txtPercorso;
    QPushButton* cmdPercorso;

signals:
    void Valore(const QString& strStampa);

private:
    void cmdCerca_Click();
    void cmdPercorso_Click();
    bool DestinazioneAccettata(const QString& strCartella);

    PannelloRicerca* pannello_;
    RicercaTabulario* ricerca_;
    QString strCartellaElenchi;
};
