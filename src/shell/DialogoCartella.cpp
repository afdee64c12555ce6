#include "shell/DialogoCartella.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

#include <memory>
#include <utility>

DialogoCartella::DialogoCartella(QWidget* proprietario, const QString& richiesta)
    : QDialog(proprietario),
      lblRichiesta(new QLabel(richiesta, this)),
      albero(new QTreeView(this)),
      modello_(new QFileSystemModel(this)),
      pulsanti_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("DialogoCartella"));
    setWindowTitle(QStringLiteral("Sfoglia per cartelle"));
    lblRichiesta->setObjectName(QStringLiteral("lblRichiesta"));
    lblRichiesta->setWordWrap(true);
    lblRichiesta->setBuddy(albero);

    // Folders only, from the top of the file system.
    modello_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    modello_->setRootPath(QString());
    albero->setObjectName(QStringLiteral("albero"));
    albero->setModel(modello_);
    albero->setHeaderHidden(true);
    for (int colonna = 1; colonna < modello_->columnCount(); ++colonna)
        albero->hideColumn(colonna);
    const QString casa = QDir::homePath();
    albero->setCurrentIndex(modello_->index(casa));
    // The folders are listed, then sorted, in the background: the home
    // folder is brought into sight once, when the folder holding it is sorted.
    auto inAttesa = std::make_shared<bool>(false);
    connect(modello_, &QFileSystemModel::directoryLoaded, this,
            [inAttesa, intorno = QFileInfo(casa).path()](const QString& caricata) {
                if (caricata == intorno)
                    *inAttesa = true;
            });
    connect(modello_, &QAbstractItemModel::layoutChanged, this, [this, inAttesa] {
        if (std::exchange(*inAttesa, false))
            albero->scrollTo(albero->currentIndex(), QAbstractItemView::PositionAtCenter);
    });

    QPushButton* ok = pulsanti_->button(QDialogButtonBox::Ok);
    ok->setEnabled(albero->currentIndex().isValid());
    connect(albero->selectionModel(), &QItemSelectionModel::currentChanged, ok,
            [ok](const QModelIndex& attuale) { ok->setEnabled(attuale.isValid()); });
    connect(pulsanti_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRichiesta);
    layout->addWidget(albero, 1);
    layout->addWidget(pulsanti_);

    // Placed by the program, not centred over its owner.
    const QScreen* schermo = proprietario ? proprietario->screen() : QGuiApplication::primaryScreen();
    move((schermo ? schermo->geometry().topLeft() : QPoint()) + QPoint(50, 50));
    resize(425, 400);
}

QString DialogoCartella::Cartella() const
{
    const QModelIndex attuale = albero->currentIndex();
    return attuale.isValid() ? modello_->filePath(attuale) : QString();
}
