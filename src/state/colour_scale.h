#pragma once
// The colour scale of the map: it follows the survey's component (conductivity or inphase limits), for the
// colour index of a reading, the colour-bar pane, the legend and the redraw alike.
namespace obrix {

struct Settings;

struct ColourScale {
  double min = 0.0;
  double max = 0.0;
};

// inphScaleMin/Max when component is 1 (inphase), else condScaleMin/Max.
ColourScale ColourScaleFor(const Settings& s);
ColourScale CurrentColourScale();

// Value span of one colour: (max - min) / (ColourCount + 1).
double ColourStep(const ColourScale& scale);
double ColourStep();

// trunc((value - min) / step) cut to 0..ColourCount; a step not above 0 or a NaN value gives 0.
int ColourIndexOf(double value, const ColourScale& scale, double step);
int ColourIndexOf(double value);

}  // namespace obrix
