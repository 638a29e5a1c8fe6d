// Makes the other skinned-control classes of this layer (group boxes, boxes, size grips,
// tab controls and their variants, track bars, progress bars, up-downs, edits, combo
// boxes, date-time pickers, headers, glyph items) known to control discovery through the
// form layer's registry (SkinControlRegistry.h). Called once, beside the registration of
// the button and scroll-bar classes, before skinning starts.
#pragma once

void RegisterOtherSkinControls();
