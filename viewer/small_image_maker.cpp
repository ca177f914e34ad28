#include "viewer/small_image_maker.h"

#include "platform/user_interface.h"
#include "viewer/small_image_run.h"
#include "viewer/small_image_worker.h"
#include "viewer/small_name.h"
#include "viewer/small_target_folder.h"

namespace vimbrel {
namespace {

using Entry = SmallTargetFolder::Entry;

// Decides about picture `name` and makes its small image `small` where one is
// due. `entry` is what stands at the small name in the target folder and is
// kept up to date. Returns the SmallNames entry.
std::string makeOne(SmallImageWorker& worker, const std::string& name, const std::string& small,
                    const SmallImageJob& job, Entry& entry)
{
    if (job.ChkFSub && (entry == Entry::File || entry == Entry::ReadOnlyFile)) {
        return small; // made before: the picture is not even opened
    }
    if (entry == Entry::Folder || entry == Entry::ReadOnlyFile) {
        return {}; // neither can be replaced
    }
    if (!worker.make(job.SelectedFolder + name, job.SmallTarget, small)) {
        return {};
    }
    entry = Entry::File;
    return small;
}

} // namespace

SmallImageResult makeSmallImagesWith(const std::vector<std::string>& imageNames,
                                     const SmallImageJob& job, UserInterface& ui,
                                     const SmallImageSettings& settings)
{
    SmallImageResult result;
    const int total = static_cast<int>(imageNames.size());
    result.SmallNames.assign(imageNames.size(), std::string());
    const SmallTargetFolder target(job.SmallTarget, !job.ChkFSub);
    if (!target.readable()) {
        // Every picture would fail to be written: all entries stay empty.
        ui.reportProgress(total, total);
        return result;
    }
    if (!ui.reportProgress(0, total)) {
        result.cancelled = true;
        return result;
    }
    SmallImageWorker worker(settings.mode);
    // What this run has written, on top of what the folder held at its start.
    std::unordered_map<std::string, Entry> entries;
    for (int i = 0; i < total; ++i) {
        const std::string& name = imageNames[static_cast<size_t>(i)];
        const std::string small = SmallName(name);
        auto [it, added] = entries.try_emplace(small, Entry::Missing);
        if (added) {
            it->second = target.entry(small);
        }
        result.SmallNames[static_cast<size_t>(i)] = makeOne(worker, name, small, job, it->second);
        if (!ui.reportProgress(i + 1, total)) {
            result.cancelled = i + 1 < total;
            break;
        }
    }
    return result;
}

SmallImageResult MakeSmallImages(const std::vector<std::string>& imageNames,
                                 const SmallImageJob& job, UserInterface& ui)
{
    return makeSmallImagesWith(imageNames, job, ui, SmallImageSettings{});
}

} // namespace vimbrel
