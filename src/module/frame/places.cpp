#include "module/frame/places.h"

#include <string>

namespace qbk::module {

namespace {

constexpr unsigned bit(PlaceId p) {
  return 1u << static_cast<unsigned>(p);
}
constexpr unsigned kCnabPlaces = bit(PlaceId::Companies) | bit(PlaceId::Payables) |
                                 bit(PlaceId::Receivables) | bit(PlaceId::Instructions);

struct Way {
  std::string_view control;  // a tab sheet ("tsh...") or a menu entry ("mnu...")
  unsigned places;           // where it leads
  bool intoList = false;     // a list: closed while anything is edited
};

constexpr std::array kWays{
    Way{"tshFolhaDados", bit(PlaceId::List), true},
    Way{"mnuFolhaDados", bit(PlaceId::List), true},
    Way{"tshFormulario", bit(PlaceId::Form)},
    Way{"mnuFormulario", bit(PlaceId::Form)},
    Way{"tshCNAB", kCnabPlaces},
    Way{"mnuCNABPag", kCnabPlaces},
    Way{"tshDadosEmpr", bit(PlaceId::Companies)},
    Way{"mnuDadosEmpr", bit(PlaceId::Companies)},
    Way{"tshEmpresa", bit(PlaceId::Companies), true},
    Way{"mnuEmpresa", bit(PlaceId::Companies), true},
    Way{"tshDados", bit(PlaceId::Companies)},
    Way{"mnuDados", bit(PlaceId::Companies)},
    Way{"tshErroRetornoPag", bit(PlaceId::Payables)},
    Way{"mnuErroRetornoPag", bit(PlaceId::Payables)},
    Way{"tshErroRetornoRec", bit(PlaceId::Receivables)},
    Way{"mnuErroRetornoRec", bit(PlaceId::Receivables)},
    Way{"tshInstruCobr", bit(PlaceId::Instructions)},
    Way{"mnuInstruCobr", bit(PlaceId::Instructions)},
    Way{"tshDDA", bit(PlaceId::DDA)},
};

bool isSheet(std::string_view way) {
  return way.starts_with("tsh");
}

}  // namespace

// ---- places ------------------------------------------------------------------------------

void Places::add(Place place) {
  places_.push_back(std::move(place));
}

const Place& Places::at(PlaceId id) const {
  for (const Place& p : places_)
    if (p.id == id) return p;
  throw Error("Lugar da tela não cadastrado.");
}

void Places::resolve(const forms::Form& form) {
  main_ = &form.find<forms::PageControl>("pgcPadrao");
  cnab_ = &form.find<forms::PageControl>("pgcCNAB");
  for (Place& p : places_) {
    p.mainSheet = &form.find<forms::TabSheet>(p.mainTab);
    if (!p.subTab.empty()) p.subSheet = &form.find<forms::TabSheet>(p.subTab);
    if (!p.menu.empty()) p.menuItem = &form.find<forms::MenuItem>(p.menu);
  }
}

const Place& Places::current() const {
  const forms::TabSheet* mainPage = main_->activePage();
  const forms::TabSheet* cnabPage = cnab_->activePage();
  const std::string_view mainName = mainPage ? std::string_view(mainPage->name()) : "";
  const std::string_view cnabName = cnabPage ? std::string_view(cnabPage->name()) : "";
  const Place* firstOfMain = nullptr;
  for (const Place& p : places_) {
    if (p.mainTab != mainName) continue;
    if (p.subTab.empty() || p.subTab == cnabName) return p;
    if (!firstOfMain) firstOfMain = &p;
  }
  // On "CNAB" with no known sub-tab in front, the first one; elsewhere the list.
  return firstOfMain ? *firstOfMain : places_.front();
}

const Place* Places::edited() const {
  for (const Place& p : places_)
    if (p.editedHere && p.records->editing()) return &p;
  return nullptr;
}

const Place* Places::showing(const data::RecordSet& rs) const {
  for (const Place& p : places_)
    if (p.records == &rs) return &p;
  return nullptr;
}

// ---- ways --------------------------------------------------------------------------------

void Ways::resolve(const forms::Form& form) {
  sheets_.clear();
  items_.clear();
  for (const Way& w : kWays) {
    if (isSheet(w.control)) {
      sheets_.push_back(&form.find<forms::TabSheet>(w.control));
      items_.push_back(nullptr);
    } else {
      sheets_.push_back(nullptr);
      items_.push_back(&form.find<forms::MenuItem>(w.control));
    }
  }
}

void Ways::apply(const Place* edited, bool noBanks) {
  for (std::size_t i = 0; i < kWays.size(); ++i) {
    const Way& w = kWays[i];
    bool open = true;
    if (noBanks)
      open = false;
    else if (edited)
      open = !w.intoList && (w.places & bit(edited->id)) != 0;
    if (sheets_[i])
      sheets_[i]->setEnabled(open);
    else
      items_[i]->setEnabled(open);
  }
}

}  // namespace qbk::module
