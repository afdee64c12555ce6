#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Finds a control of a window by its name, failing the test when it is missing.
template <typename T>
T* Controllo(QWidget* finestra, const QString& nome)
{
    T* trovato = finestra->findChild<T*>(nome);
    if (!trovato)
        qFatal("controllo %s mancante", qPrintable(nome));
    return trovato;
}

// Shows the window and waits until it has the keyboard, as on a desktop.
inline bool MostraAttiva(QWidget* finestra)
{
    finestra->show();
    QApplication::setActiveWindow(finestra);
    return QTest::qWaitForWindowActive(finestra);
}
