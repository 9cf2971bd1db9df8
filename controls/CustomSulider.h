// The opacity slider: a track with a knob that the user drags, and a printed
// scale under it. Every drag step stores the knob's position in Value and
// raises ValueChange; the slider knows nothing of windows or opacity.
#pragma once

#include "classlib/ClassLib.h"

class CustomSulider : public classlib::ContainerControl {
 public:
  classlib::Ref<classlib::Picture> SliderHead;
  classlib::Ref<classlib::Picture> SliderLine;
  classlib::Integer SliderX = 0;  // grab offset of the last press on the knob
  classlib::Integer SliderY = 0;
  classlib::Integer Value = 0;    // knob Left minus track Left after the last drag step

  classlib::Event<void(classlib::Ref<CustomSulider>)> ValueChange;

  void Layout() override;
  void CreateControls() override;
  void CreateControls0();

  // The parts, looked up by name at every call.
  classlib::Ref<classlib::Canvas> SliderLineCV() const;
  classlib::Ref<classlib::Canvas> SliderHeadCV() const;
  classlib::Ref<classlib::Label> Label1() const;

  // Handlers of the parts' events.
  void SliderLineCV_Open(classlib::Ref<classlib::Canvas> part);
  void SliderLineCV_Paint(classlib::Ref<classlib::Canvas> part, classlib::Ref<classlib::Graphics> g);
  bool SliderLineCV_MouseDown(classlib::Ref<classlib::Canvas> part, classlib::Integer x, classlib::Integer y);
  void SliderHeadCV_Paint(classlib::Ref<classlib::Canvas> part, classlib::Ref<classlib::Graphics> g);
  void SliderHeadCV_Open(classlib::Ref<classlib::Canvas> part);
  bool SliderHeadCV_MouseDown(classlib::Ref<classlib::Canvas> part, classlib::Integer x, classlib::Integer y);
  void SliderHeadCV_MouseDrag(classlib::Ref<classlib::Canvas> part, classlib::Integer x, classlib::Integer y);
  void SliderHeadCV_MouseEnter(classlib::Ref<classlib::Canvas> part);
  void SliderHeadCV_MouseExit(classlib::Ref<classlib::Canvas> part);
  void SliderHeadCV_MouseMove(classlib::Ref<classlib::Canvas> part, classlib::Integer x, classlib::Integer y);
  void SliderHeadCV_MouseUp(classlib::Ref<classlib::Canvas> part, classlib::Integer x, classlib::Integer y);
  bool SliderHeadCV_MouseWheel(classlib::Ref<classlib::Canvas> part, classlib::Integer x, classlib::Integer y,
                               classlib::Integer dx, classlib::Integer dy);

  // Does nothing; nothing calls it.
  void SetValue();

  std::string ClassName() const override { return "CustomSulider"; }
  void DeclareProperties(classlib::PropertyTable& table) override;
};
