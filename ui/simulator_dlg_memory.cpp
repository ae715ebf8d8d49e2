#include "platform/out_of_memory.h"
#include "ui/simulator_dlg.h"

namespace {

constexpr char kOutOfMemory[] = "メモリが足りません。検索結果は消去しました\n"
                                "最大表示件数を減らすと、使うメモリが減ります";

} // namespace

bool CSimulatorDlg::RunSearchWithinMemory(bool refine) {
    return platform::RunWithinMemory([this, refine] {
        if (refine) {
            m_search.RefineSearch(m_condition);
        } else {
            m_search.Search(m_condition);
        }
    });
}

// Part of a list would pass for every set the condition has, and the memory the sets hold is what
// the window needs to go on: the rows go first (they point into the sets), then the sets, and the
// completion shows the empty list with its reason as any other end does.
void CSimulatorDlg::EndForLackOfMemory() {
    ClearResultDisplay();
    m_search.results.clear();
    m_search.results.shrink_to_fit();
    m_search.running = 0;
    m_finishSource = FinishSource::kOutOfMemory;
    OnSearchFinished(0, 0);
    GetPrompter().MessageBox(kOutOfMemory);
}
