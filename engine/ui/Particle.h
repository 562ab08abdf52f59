#pragma once

#include <cstdint>

// One live 2D particle: filled by an emitter, aged, moved and drawn by its particle system.
// Positions are in the particle system's space, speeds per second, angles in degrees, the size
// a multiple of the texture frame's size and the colour channels nominally 0 to 1.
struct Particle {
    float x;
    float y;
    float vx;
    float vy;
    float ax;
    float ay;
    float angle;
    float angularVelocity;
    float angularAcceleration;
    float size;
    float sizeSpeed;
    float r;
    float g;
    float b;
    float a;
    float rSpeed;
    float gSpeed;
    float bSpeed;
    float aSpeed;
    int32_t age;       // ms
    uint32_t lifetime; // ms
};

static_assert(sizeof(Particle) == 84);
