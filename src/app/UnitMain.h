#pragma once

#include <QTimer>
#include <QWidget>

// The hidden host form: fixes the program's paths, reads the saved bar position and, once the
// event loop runs, carries out the start sequence.
class TFmMain : public QWidget {
    Q_OBJECT
public:
    TFmMain();
    ~TFmMain() override;

    void TimerLoginTimer();

    QTimer TimerLogin;

private:
    void FormCreate();
    void InstallIcon();
    void UnInstallIcon();
    void AskUpdateQuestion();
    void StartStatisticsThread();
};

extern TFmMain* FmMain;
