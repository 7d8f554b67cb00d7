// A scripted engine for fast logic tests: records every call, opens whatever the script
// allows, and emits the engine's events when a test asks.
#pragma once

#include "engine/mediaengine.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <functional>

class FakeEngine : public MediaEngine
{
    Q_OBJECT
public:
    struct Media
    {
        double duration = 10.0;
        int width = 320;
        int height = 240;
    };

    using MediaEngine::MediaEngine;

    // Script: files that open (with their facts) and files that are refused.
    void addMedia(const QString& path, Media media) { m_media.insert(path, media); }
    void refuse(const QString& path) { m_refused.insert(path); }
    // Unknown paths open with default facts unless strict.
    void setStrict(bool strict) { m_strict = strict; }

    // Drives the engine as a real one would.
    void emitPlayState(int newState);
    void reachEnd();

    // Runs inside setFileName, where a real engine lets events through while it waits.
    std::function<void()> duringOpen;
    // Opens are taken over by a later one: refused with no reason.
    bool superseded = false;

    QStringList calls;  // "setFileName:/a.avi", "Play", "Pause", ...
    QStringList opened; // paths given to setFileName, in order
    QString subtitleRefusal;

    QString FileName() const override { return m_fileName; }
    bool setFileName(const QString& path) override;
    QString lastError() const override { return m_lastError; }
    double Duration() const override { return m_duration; }
    double CurrentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override;
    int PlayState() const override { return m_playState; }
    void Play() override;
    void Pause() override;
    int ImageSourceWidth() const override { return m_width; }
    int ImageSourceHeight() const override { return m_height; }
    int DisplaySize() const override { return m_displaySize; }
    void setDisplaySize(int size) override;
    bool ShowControls() const override { return m_showControls; }
    void setShowControls(bool show) override;
    bool ShowStatusBar() const override { return m_showStatusBar; }
    void setShowStatusBar(bool show) override;
    int Volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDecibel) override;
    bool Mute() const override { return m_mute; }
    void setMute(bool mute) override;
    void ShowDialog(int which) override;
    // Takes every subtitle file; "" or the scripted refusal.
    QString addSubtitle(const QString& path) override
    {
        calls << QStringLiteral("addSubtitle:") + path;
        return subtitleRefusal;
    }
    void showMessage(const QString& text) override
    {
        calls << QStringLiteral("showMessage:") + text;
    }
    void shutDown() override { calls << QStringLiteral("shutDown"); }
    QRect rect() const override { return m_rect; }
    void setRect(const QRect& rect) override { m_rect = rect; }
    QString toolTip() const override { return m_toolTip; }
    void setToolTip(const QString& text) override { m_toolTip = text; }
    QWidget* view() const override { return nullptr; }

    // Plain state access for tests that set the scene directly.
    void setPlayStateQuietly(int state) { m_playState = state; }
    void setPositionQuietly(double seconds) { m_position = seconds; }

private:
    QHash<QString, Media> m_media;
    QSet<QString> m_refused;
    bool m_strict = false;
    QString m_fileName;
    QString m_lastError;
    double m_duration = 0;
    double m_position = 0;
    int m_playState = PlayStates::Closed;
    int m_width = 0;
    int m_height = 0;
    int m_displaySize = DisplaySizes::Fitted;
    bool m_showControls = false;
    bool m_showStatusBar = false;
    int m_volume = 0;
    bool m_mute = false;
    QRect m_rect;
    QString m_toolTip;
};
