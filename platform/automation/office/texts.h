// What the Writer, Calc and Impress sides share: finding the document the
// user works in, and giving text a face and size.
#pragma once

#include "connection.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include <optional>
#include <string>
#include <vector>

namespace automation::office {

// The document of the kind `service` names that the user works in: the
// office's current document when it is of that kind, else the first open
// one of that kind. Null when none is open. Call inside Connection::Call.
Reference<css::frame::XModel> FindDocument(Connection& office, const char* service);

// Sets the face (or the size in points) for Western and complex-script text
// alike, so that Sinhala shows in it too; with the face, the complex-script
// language becomes Sinhala (Sri Lanka), so that the office spell-checks and
// hyphenates it as Sinhala. Call inside Connection::Call.
void SetFace(const Reference<css::beans::XPropertySet>& text, const std::u16string& face);
void SetSize(const Reference<css::beans::XPropertySet>& text, float points);
// Whether the office takes `points` as a size (SetSize raises otherwise).
bool IsSize(float points);

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value);

// The character properties SetFace and SetSize set, for setting them in
// one call: those of `face` and, when given, of `points` (a valid size).
css::uno::Sequence<css::beans::PropertyValue> StyleProperties(const std::u16string& face,
                                                             std::optional<float> points);
css::uno::Sequence<css::beans::PropertyValue> SizeProperties(float points);

// Sets the properties in one call. Call inside Connection::Call.
void SetAll(const Reference<css::beans::XMultiPropertySet>& target,
            const css::uno::Sequence<css::beans::PropertyValue>& properties);

// The lines of a text whose lines end in CR LF, CR or LF; one more line than breaks.
std::vector<std::u16string> Lines(const std::u16string& text);
// Lines joined with `separator` between two (the office's paragraph or line break).
std::u16string Join(const std::vector<std::u16string>& lines, char16_t separator);

}  // namespace automation::office
