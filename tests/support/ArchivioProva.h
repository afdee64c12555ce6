#pragma once

#include "PostazioneProva.h"
#include "components/Tabulario.h"
#include "search/PannelloRicerca.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The search windows stand on a workstation with an archive.
using ArchivioProva = PostazioneProva;

// Every message shown, "icon|title|text", to compare them all in one go.
QString Messaggio(Icona icona, const QString& testo, const QString& titolo = TitoloApplicazione);
QStringList Messaggi(const DialoghiRegistratore& dialoghi);

// Shows the window and waits until it has the keyboard, as on a desktop.
inline bool MostraAttiva(QWidget* finestra)
{
    finestra->show();
    QApplication::setActiveWindow(finestra);
    return QTest::qWaitForWindowActive(finestra);
}

// Replaces what a field holds by typing, as a user does.
inline void Riscrivi(QLineEdit* casella, const QString& testo)
{
    casella->selectAll();
    QTest::keyClick(casella, Qt::Key_Backspace);
    QTest::keyClicks(casella, testo);
}

// Chooses a search option, fills in what it enables and clicks "Cerca". An
// empty type leaves the type list as it is.
inline void Cerca(PannelloRicerca* p, int opzione, const QDate& dal, const QDate& al, const QString& tipo = {},
                  const QString& numero = {}, const QString& codice = {})
{
    QTest::mouseClick(p->optRicerca[opzione], Qt::LeftButton);
    p->dtData->setDate(dal);
    p->dtDataFin->setDate(al);
    if (p->txtDoc->isEnabled())
        Riscrivi(p->txtDoc, numero);
    if (p->txtCodice->isEnabled())
        Riscrivi(p->txtCodice, codice);
    // The type is typed with the focus in the box and left with Tab, so
    // that completion gets its chance to change it.
    if (!tipo.isEmpty()) {
        QTest::mouseClick(p->cmbTipo->lineEdit(), Qt::LeftButton);
        Riscrivi(p->cmbTipo->lineEdit(), tipo);
        QTest::keyClick(p->cmbTipo->lineEdit(), Qt::Key_Tab);
    }
    QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
}

// The first column of every row the lookup list shows, in its order.
inline QStringList PrimeColonne(const Tabulario& lista)
{
    QStringList prime;
    for (int i = 0; i < lista.RigheElencate(); ++i)
        prime.append(lista.RigaElencata(i).first());
    return prime;
}
