#pragma once

#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"

#include <string>

// An opened history as the viewer edits it: the loaded header and rows, the displayed channel,
// the save path and the modified flag, with the rules of Save, Save As, Change title and
// Change scale.
class CHistoryDocument {
public:
    static constexpr std::size_t kMaxTitleCharacters = 30;
    // Scale ends beyond this cannot be shown sensibly (and would lose the span in a float).
    static constexpr double kMaxScaleMagnitude = 1e6;

    enum class ScaleCheck { Valid, NotANumber, TooLarge, NotAscending };

    // Loads the file and shows its first channel. A file of the older layout gets no save path.
    // On failure the document is left as it was.
    HistoryLoadResult Load(const std::string& path);

    const CHistoryData& Data() const { return m_data; }
    const HistoryHeader& Header() const { return m_data.Header(); }
    int ModelNumber() const { return m_modelNumber; }
    int Channel() const { return m_channel; }
    bool ReturnLoss() const { return m_returnLoss; }
    const std::string& Path() const { return m_path; }
    bool IsModified() const { return m_modified; }

    void ShowChannel(int channel, bool returnLoss);
    // The history was opened from a file that is not the user's (a download's temporary
    // file, removed when the viewer closes): it has no file of its own and is unsaved.
    void DetachFromFile();
    // Writes to the document's path; fails without one. Success clears the modified flag.
    bool Save(std::string* error = nullptr);
    // Writes a copy; the document keeps its path and modified flag.
    bool SaveAs(const std::string& path, std::string* error = nullptr) const;
    // Writes to `path`, which becomes the document's own file; clears the modified flag.
    bool SaveToNewFile(const std::string& path, std::string* error = nullptr);

    // The title with trailing white space removed; an empty result is refused (false).
    bool ChangeTitle(const std::string& utf8);
    // The displayed channel's stored minimum and maximum, widened by a tenth of their span.
    HistoryRange ProposedScale() const;
    static ScaleCheck CheckScale(double lower, double upper);
    // Stores a checked range as the displayed channel's display range; the modified flag stays.
    bool ChangeScale(double lower, double upper);

private:
    CHistoryData m_data;
    std::string m_path;
    int m_modelNumber = 0;
    int m_channel = 0;
    bool m_returnLoss = false;
    bool m_modified = false;
};
