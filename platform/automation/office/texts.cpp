#include "texts.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>

namespace automation::office {

namespace {

Reference<css::frame::XModel> OfKind(const Reference<css::uno::XInterface>& component, const char* service) {
  Reference<css::lang::XServiceInfo> info(component, css::uno::UNO_QUERY);
  if (!info.is() || !info->supportsService(rtl::OUString::createFromAscii(service))) return nullptr;
  return Reference<css::frame::XModel>(component, css::uno::UNO_QUERY);
}

}  // namespace

Reference<css::frame::XModel> FindDocument(Connection& office, const char* service) {
  const auto& desktop = office.Desktop();
  if (auto current = OfKind(desktop->getCurrentComponent(), service); current.is() && current->getCurrentController().is())
    return current;
  Reference<css::container::XIndexAccess> frames(desktop->getFrames(), css::uno::UNO_QUERY_THROW);
  for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
    Reference<css::frame::XFrame> frame(frames->getByIndex(i), css::uno::UNO_QUERY);
    if (!frame.is()) continue;
    Reference<css::frame::XController> controller = frame->getController();
    if (!controller.is()) continue;
    if (auto model = OfKind(controller->getModel(), service); model.is()) return model;
  }
  return nullptr;
}

namespace {

css::uno::Any Sinhala() {
  css::lang::Locale locale;
  locale.Language = "si";
  locale.Country = "LK";
  return css::uno::Any(locale);
}

}  // namespace

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value) {
  css::beans::PropertyValue p;
  p.Name = rtl::OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

void SetFace(const Reference<css::beans::XPropertySet>& text, const std::u16string& face) {
  const css::uno::Any name(ToOUString(face));
  text->setPropertyValue("CharFontName", name);
  text->setPropertyValue("CharFontNameComplex", name);
  text->setPropertyValue("CharLocaleComplex", Sinhala());
}

// The office takes any height; a word processor's limits keep it sane.
bool IsSize(float points) { return points >= 1 && points <= 1638; }

void SetSize(const Reference<css::beans::XPropertySet>& text, float points) {
  if (!IsSize(points)) throw EOleError("The requested member of the collection does not exist.");
  const css::uno::Any height(points);
  text->setPropertyValue("CharHeight", height);
  text->setPropertyValue("CharHeightComplex", height);
}

css::uno::Sequence<css::beans::PropertyValue> StyleProperties(const std::u16string& face,
                                                             std::optional<float> points) {
  const css::uno::Any name(ToOUString(face));
  std::vector<css::beans::PropertyValue> list{Property("CharFontName", name), Property("CharFontNameComplex", name),
                                              Property("CharLocaleComplex", Sinhala())};
  if (points)
    for (const auto& p : SizeProperties(*points)) list.push_back(p);
  return css::uno::Sequence<css::beans::PropertyValue>(list.data(), static_cast<sal_Int32>(list.size()));
}

css::uno::Sequence<css::beans::PropertyValue> SizeProperties(float points) {
  const css::beans::PropertyValue list[]{Property("CharHeight", css::uno::Any(points)),
                                         Property("CharHeightComplex", css::uno::Any(points))};
  return css::uno::Sequence<css::beans::PropertyValue>(list, 2);
}

void SetAll(const Reference<css::beans::XMultiPropertySet>& target,
            const css::uno::Sequence<css::beans::PropertyValue>& properties) {
  css::uno::Sequence<rtl::OUString> names(properties.getLength());
  css::uno::Sequence<css::uno::Any> values(properties.getLength());
  for (sal_Int32 i = 0; i < properties.getLength(); ++i) {
    names.getArray()[i] = properties[i].Name;
    values.getArray()[i] = properties[i].Value;
  }
  target->setPropertyValues(names, values);
}

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

std::u16string Join(const std::vector<std::u16string>& lines, char16_t separator) {
  std::u16string joined = lines.front();
  for (size_t i = 1; i < lines.size(); ++i) joined += separator + lines[i];
  return joined;
}

}  // namespace automation::office
