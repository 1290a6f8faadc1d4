#pragma once

// Kind of a trace; the same numbers name the controller type of the instrument.
enum E_ANALISIS_TYPE {
    CONTOUR = 0,
    CONTOUR_PROFILE = 1,
    PROFILE = 2,
    ADDITIONAL_TRACE = 3,
};

// Which filtered profile of a profile trace a parameter is computed on.
enum E_PROFILE_KIND {
    ROUGHNESS = 0,
    WAVINESS = 1,
    PRIMARY = 2,
};
