#pragma once

#include "imaging/model/CropSpec.h"
#include "imaging/model/ExtendSpec.h"
#include "imaging/model/FramesSpec.h"
#include "imaging/model/GroundSpec.h"
#include "imaging/model/ResizeSpec.h"
#include "imaging/model/StampSpec.h"
#include "imaging/model/TextSpec.h"
#include "imaging/model/ToneSpec.h"
#include "imaging/model/TreatmentKind.h"

#include <QSizeF>
#include <optional>
#include <variant>

namespace plenoria {

using TreatmentSpec
    = std::variant<CropSpec, ExtendSpec, ResizeSpec, GroundSpec, ToneSpec, TextSpec, StampSpec, FramesSpec>;

template <typename S, typename Variant> inline constexpr bool isAlternativeOf = false;
template <typename S, typename... Alternatives>
inline constexpr bool
    isAlternativeOf<S, std::variant<Alternatives...>> = (std::is_same_v<S, Alternatives> || ...);

// One treatment: a kind with its spec. The alternatives are in TreatmentKind order, so a treatment's
// kind is the index of the payload it holds.
struct Treatment {
    using Spec = TreatmentSpec;
    Spec spec;

    Treatment() = default;
    // A spec converts to the treatment of its kind.
    template <typename S, typename = std::enable_if_t<isAlternativeOf<S, Spec>>>
    Treatment(S value)
        : spec(std::move(value))
    { }

    [[nodiscard]] TreatmentKind kind() const { return TreatmentKind(spec.index()); }

    // The payload when the treatment is of that kind, else none.
    [[nodiscard]] std::optional<CropSpec> cropSpec() const { return payload<CropSpec>(); }
    [[nodiscard]] std::optional<ExtendSpec> extendSpec() const { return payload<ExtendSpec>(); }
    [[nodiscard]] std::optional<ResizeSpec> resizeSpec() const { return payload<ResizeSpec>(); }
    [[nodiscard]] std::optional<GroundSpec> groundSpec() const { return payload<GroundSpec>(); }
    [[nodiscard]] std::optional<ToneSpec> toneSpec() const { return payload<ToneSpec>(); }
    [[nodiscard]] std::optional<TextSpec> textSpec() const { return payload<TextSpec>(); }
    [[nodiscard]] std::optional<StampSpec> stampSpec() const { return payload<StampSpec>(); }
    [[nodiscard]] std::optional<FramesSpec> framesSpec() const { return payload<FramesSpec>(); }

    // Writing a payload makes the treatment that kind with that spec, whatever it was; none leaves it.
    void setCropSpec(const std::optional<CropSpec>& value) { setPayload(value); }
    void setExtendSpec(const std::optional<ExtendSpec>& value) { setPayload(value); }
    void setResizeSpec(const std::optional<ResizeSpec>& value) { setPayload(value); }
    void setGroundSpec(const std::optional<GroundSpec>& value) { setPayload(value); }
    void setToneSpec(const std::optional<ToneSpec>& value) { setPayload(value); }
    void setTextSpec(const std::optional<TextSpec>& value) { setPayload(value); }
    void setStampSpec(const std::optional<StampSpec>& value) { setPayload(value); }
    void setFramesSpec(const std::optional<FramesSpec>& value) { setPayload(value); }

    // What a new row of `kind` starts with on an image of `size`; none for stamp and frames, which
    // the bench builds from a picked image or the source's delays.
    [[nodiscard]] static std::optional<Treatment> defaultFor(TreatmentKind kind, QSizeF size);

    // The one-line summary under the row's title in the record list.
    [[nodiscard]] QString summary() const;

    bool operator==(const Treatment&) const = default;

private:
    template <typename S> std::optional<S> payload() const
    {
        if (const S* value = std::get_if<S>(&spec))
            return *value;
        return std::nullopt;
    }
    template <typename S> void setPayload(const std::optional<S>& value)
    {
        if (value)
            spec = *value;
    }
};

} // namespace plenoria
