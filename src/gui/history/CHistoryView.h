#pragma once

#include "appcore/CCommandState.h"
#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryDocument.h"
#include "history/CRangeStatistics.h"

#include <QWidget>

#include <functional>
#include <optional>

class CGraphCtrl;
class QLabel;
class QMenu;
class QPushButton;
class QRubberBand;

// Shows one opened history as a graph filling the window and carries out the history
// commands: channel choice, Save, Save As, the CSV and bitmap exports, the report, the title
// and the value scale. Dragging across the graph selects a stretch whose statistics are shown
// and which can be zoomed to.
class CHistoryView : public QWidget {
    Q_OBJECT

public:
    // A save dialog's answer: the path (empty when cancelled) and the index of the filter chosen
    // among the ";;"-separated ones offered.
    struct ChosenFile {
        ChosenFile(QString chosenPath = {}, int chosenFilter = 0) // NOLINT: a bare path is an answer
            : path(std::move(chosenPath)), filter(chosenFilter) {}
        QString path;
        int filter = 0;
    };
    using PathChooser = std::function<ChosenFile(const QString& suffix, const QString& filter)>;

    explicit CHistoryView(QWidget* parent = nullptr);

    bool Load(const std::string& path);
    // Why the last Load failed ("not a whole number of rows", ...); empty after a success.
    const std::string& LoadError() const { return m_loadError; }
    // The message for a history file that could not be opened, with the reason when known.
    static std::string OpenFailureText(const std::string& reason);
    // The loaded file is a temporary one: Save asks for a file of the user's.
    void DetachFromFile();
    const CHistoryDocument& Document() const { return m_document; }
    CGraphCtrl* Graph() const { return m_graph; }
    // Name of the model the history was recorded with; empty when the name is unknown.
    std::string ModelName() const;
    // Replaces the file dialogs (tests answer them without one).
    void SetPathChooser(PathChooser chooser) { m_choosePath = std::move(chooser); }

    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CCommandState& state);

    // Selects the samples between two indices (either order) and shows their statistics.
    void SelectRange(double from, double to);
    void ClearRange();
    void ZoomToRange();
    void ShowWholeHistory();
    const std::optional<RangeStatistics>& Selection() const { return m_selection; }
    bool IsZoomed() const { return m_zoomed; }
    QString RangeText() const;
    QMenu* ContextMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowHistory();
    void OnChannel(int id);
    void OnSave();
    void OnSaveAs();
    // Save As, or with `becomesOwnFile` a Save that gives the history its first file of its own.
    void SaveToChosenFile(bool becomesOwnFile);
    void OnExportCsv();
    void OnExportBitmap();
    void OnReport();
    void OnChangeTitle();
    void OnChangeScale();
    void ShowContextMenu(const QPoint& globalPosition);
    // The chosen file, after the user agreed to replace an existing one; empty when cancelled.
    std::string ChooseTarget(const QString& suffix, const QString& filter, int* chosenFilter = nullptr);
    // The history as shown: the zoomed stretch, or all of it.
    CsvRowRange ShownRows() const;
    CHistoryData ShownData() const;
    bool Fail(const char* key, const std::string& error);
    void UpdateRangeBar();
    // Puts the band over the selected indices, in the graph's current layout.
    void PlaceBand();
    double IndexAt(int x) const;

    CHistoryDocument m_document;
    std::string m_loadError;
    CGraphCtrl* m_graph;
    QWidget* m_rangeBar;
    QLabel* m_rangeText;
    QPushButton* m_zoom;
    QPushButton* m_whole;
    QRubberBand* m_band;
    QMenu* m_contextMenus = nullptr;
    PathChooser m_choosePath;
    std::optional<int> m_dragStart;
    std::optional<RangeStatistics> m_selection;
    double m_selectedFrom = 0.0;
    double m_selectedTo = 0.0;
    bool m_zoomed = false;
};
