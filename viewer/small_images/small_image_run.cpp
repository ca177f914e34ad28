#include "viewer/small_images/small_image_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/processor.h"
#include "platform/user_interface.h"
#include "viewer/small_images/small_image_worker.h"
#include "viewer/small_images/small_name.h"
#include "viewer/small_images/small_target_folder.h"

namespace vimbrel {
namespace {

using Entry = SmallTargetFolder::Entry;

// The pictures of one small name, in list order. Groups are listed in the
// order of their first picture.
struct Group
{
    std::string smallName;
    std::vector<size_t> pictures;
};

std::vector<Group> groupBySmallName(const std::vector<std::string>& imageNames)
{
    std::vector<Group> groups;
    std::unordered_map<std::string, size_t> groupOf;
    for (size_t i = 0; i < imageNames.size(); ++i) {
        std::string small = SmallName(imageNames[i]);
        const auto [it, added] = groupOf.try_emplace(small, groups.size());
        if (added) {
            groups.push_back({std::move(small), {}});
        }
        groups[it->second].pictures.push_back(i);
    }
    return groups;
}

// Decides about picture `name` and makes its small image `small` where one is
// due, drawing within `budget`. `entry` is what stands at the small name in
// the target folder and is kept up to date. Returns the SmallNames entry.
std::string makeOne(SmallImageWorker& worker, const std::string& name, const std::string& small,
                    const SmallImageJob& job, Entry& entry, DrawBudget& budget)
{
    if (job.ChkFSub && (entry == Entry::File || entry == Entry::ReadOnlyFile)) {
        return small; // made before: the picture is not even opened
    }
    if (entry == Entry::Folder || entry == Entry::ReadOnlyFile) {
        return {}; // neither can be replaced
    }
    bool made = false;
    try {
        made = worker.make(job.SelectedFolder + name, job.SmallTarget, small, budget);
    } catch (const std::exception&) {
        // What can arrive here is a buffer of this picture that could not
        // grow (std::bad_alloc, std::length_error): the picture alone fails.
        // libjpeg's errors come back through its error manager and Qt answers
        // a failed allocation with a null image, so neither throws.
        made = false;
    }
    if (!made) {
        return {};
    }
    entry = Entry::File;
    return small;
}

// One run: the workers take groups in turn; the calling thread reports
// progress and passes on a request to stop.
class Run
{
public:
    Run(const std::vector<std::string>& imageNames, const SmallImageJob& job,
        const SmallImageSettings& settings, const SmallTargetFolder& target,
        std::vector<std::string>& smallNames)
        : mImageNames(imageNames), mJob(job), mSettings(settings), mTarget(target),
          mSmallNames(smallNames), mGroups(groupBySmallName(imageNames))
    {
    }

    // Returns true when the person stopped the run before every picture was done.
    bool execute(UserInterface& ui)
    {
        const int total = static_cast<int>(mImageNames.size());
        if (!ui.reportProgress(0, total)) {
            return total > 0;
        }
        int workers = mSettings.workers > 0 ? mSettings.workers : usableCores();
        workers = std::min(workers, static_cast<int>(mGroups.size()));
        mRunning = workers;
        std::vector<std::thread> threads;
        threads.reserve(static_cast<size_t>(workers));
        for (int i = 0; i < workers; ++i) {
            threads.emplace_back([this] { work(); });
        }
        int reported = 0;
        std::unique_lock lock(mMutex);
        while (mRunning > 0 || mDone != reported) {
            mChanged.wait(lock, [&] { return mDone != reported || mRunning == 0; });
            if (mStop) {
                reported = mDone; // stopped: the pictures under way end unreported
                continue;
            }
            if (mDone != reported) {
                reported = mDone;
                lock.unlock();
                if (!ui.reportProgress(reported, total)) {
                    mStop = true;
                }
                lock.lock();
            }
        }
        lock.unlock();
        for (std::thread& thread : threads) {
            thread.join();
        }
        return mDone < total;
    }

    // The pictures whose drawing took too much work, in list order; after
    // execute().
    std::vector<std::string> tooMuchWork()
    {
        std::sort(mTooMuchWork.begin(), mTooMuchWork.end());
        std::vector<std::string> names;
        for (const size_t picture : mTooMuchWork) {
            names.push_back(mImageNames[picture]);
        }
        return names;
    }

private:
    void work()
    {
        SmallImageWorker worker(mSettings.mode);
        while (!mStop) {
            const size_t next = mNextGroup.fetch_add(1);
            if (next >= mGroups.size()) {
                break;
            }
            const Group& group = mGroups[next];
            Entry entry = mTarget.entry(group.smallName);
            for (const size_t picture : group.pictures) {
                if (mStop) {
                    break;
                }
                // Stopping the run also stops a drawing under way.
                DrawBudget budget(&mStop);
                mSmallNames[picture] =
                    makeOne(worker, mImageNames[picture], group.smallName, mJob, entry, budget);
                const std::lock_guard lock(mMutex);
                if (budget.state() == DrawBudget::State::Spent) {
                    mTooMuchWork.push_back(picture);
                }
                ++mDone;
                mChanged.notify_one();
            }
        }
        const std::lock_guard lock(mMutex);
        --mRunning;
        mChanged.notify_one();
    }

    const std::vector<std::string>& mImageNames;
    const SmallImageJob& mJob;
    const SmallImageSettings& mSettings;
    const SmallTargetFolder& mTarget;
    std::vector<std::string>& mSmallNames; // each entry written by one worker only
    const std::vector<Group> mGroups;

    std::vector<size_t> mTooMuchWork;
    std::atomic<size_t> mNextGroup{0};
    std::atomic<bool> mStop{false};
    std::mutex mMutex;
    std::condition_variable mChanged;
    int mDone = 0;
    int mRunning = 0;
};

} // namespace

SmallImageResult MakeSmallImages(const std::vector<std::string>& imageNames,
                                 const SmallImageJob& job, UserInterface& ui,
                                 const SmallImageSettings& settings)
{
    SmallImageResult result;
    result.SmallNames.assign(imageNames.size(), std::string());
    // One reading of the folder answers every existence test of the run.
    const SmallTargetFolder target(job.SmallTarget, !job.ChkFSub);
    if (!target.readable()) {
        // Every picture would fail to be written: all entries stay empty.
        const int total = static_cast<int>(imageNames.size());
        ui.reportProgress(total, total);
        return result;
    }
    Run run(imageNames, job, settings, target, result.SmallNames);
    result.cancelled = run.execute(ui);
    result.tooMuchWork = run.tooMuchWork();
    return result;
}

} // namespace vimbrel
