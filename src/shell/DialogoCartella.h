#pragma once

#include <QDialog>

class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

// The folder picker: the prompt above a tree of the file system's folders,
// standing at 50,50 from the screen's top-left corner, 425 x 400 pixels.
// It opens on the user's home folder; OK (or Enter) takes the folder
// selected, Esc or Annulla none.
class DialogoCartella : public QDialog
{
    Q_OBJECT

public:
    DialogoCartella(QWidget* proprietario, const QString& richiesta);

    // The full path of the folder selected, or empty text.
    QString Cartella() const;

    QLabel* lblRichiesta;
    QTreeView* albero;

private:
    QFileSystemModel* modello_;
    QDialogButtonBox* pulsanti_;
};
