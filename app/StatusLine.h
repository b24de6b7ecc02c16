#pragma once

// The main window's status line: one short sentence about what the last command did (applied,
// restored, exported, imported, or why not). It fades away after a few seconds, so that it
// never has to be closed; nothing of it is a question.

#include <QLabel>
#include <QString>
#include <QTimer>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace zarvin {

class StatusLine : public QLabel {
    Q_OBJECT

public:
    explicit StatusLine(QWidget* parent);

    // Shows `text` at full strength; an earlier sentence is replaced.
    void Say(const QString& text);
    // What the line says now; empty once it has faded.
    QString Said() const { return said_; }

private:
    void StartFading();
    void Faded();

    QString said_;
    QTimer hold_;
    QGraphicsOpacityEffect* opacity_ = nullptr;
    QPropertyAnimation* fade_ = nullptr;
};

}  // namespace zarvin
