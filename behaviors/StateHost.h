#pragma once

#include "behaviors/StateEntry.h"
#include "behaviors/TypeList.h"

#include <functional>
#include <tuple>
#include <type_traits>
#include <vector>

namespace Qimro::Behaviors {

template <class States, class Holder, class Image>
class StateHost;

// A holder with one StateEntry per state tag in the list and the drawers that paint it.
// The widget never paints itself: a state change hands the image of the new state to every
// drawer, then tells that state's listeners.
template <class... Tags, class Holder, class Image>
class StateHost<TypeList<Tags...>, Holder, Image> : public Holder {
public:
    using StateList = TypeList<Tags...>;
    using HolderType = Holder;
    using ImageType = Image;
    using Drawer = std::function<void(const Image&, const Holder&)>;
    using StateListener = std::function<void(int, const Holder&)>;
    template <class Tag>
    using Entry = StateEntry<Tag, Image, Holder>;

    template <class Tag>
    static constexpr bool HasState = (std::is_same_v<Tag, Tags> || ...);

    void AddDrawer(Drawer drawer) { drawers_.push_back(std::move(drawer)); }

    template <class Tag>
    void AddListener(Tag, StateListener listener)
    {
        EntryOf(Tag{}).listeners.push_back(std::move(listener));
    }

    template <class Tag>
    int32_t Flag(Tag) const
    {
        return EntryOf(Tag{}).flag;
    }

    template <class Tag>
    Entry<Tag>& EntryOf(Tag)
    {
        static_assert(HasState<Tag>, "this widget has no such state");
        return std::get<Entry<Tag>>(entries_);
    }
    template <class Tag>
    const Entry<Tag>& EntryOf(Tag) const
    {
        static_assert(HasState<Tag>, "this widget has no such state");
        return std::get<Entry<Tag>>(entries_);
    }

    // The only way a flag changes. Setting the value a flag already has draws nothing and
    // tells nobody; any non-zero value means on.
    template <class Tag>
    void SetState(Tag, int value)
    {
        Entry<Tag>& entry = EntryOf(Tag{});
        const int32_t flag = value != 0 ? 1 : 0;
        if (flag == entry.flag) {
            return;
        }
        entry.flag = flag;
        const Holder& holder = *this;
        // Copies, because a callback may add callbacks or change other states.
        const Image image = flag == 1 ? entry.onImage : entry.offImage;
        for (const Drawer& drawer : std::vector<Drawer>(drawers_)) {
            drawer(image, holder);
        }
        for (const StateListener& listener : std::vector<StateListener>(entry.listeners)) {
            listener(flag, holder);
        }
    }

private:
    std::vector<Drawer> drawers_;
    std::tuple<Entry<Tags>...> entries_;
};

} // namespace Qimro::Behaviors
