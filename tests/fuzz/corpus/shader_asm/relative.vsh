vs.1.1 ; relative constants and the address register
def c90, 1.5, -2, .25, 1e-3
mov a0.x, v1.x
mov r0, c[a0.x + 12]
mad r1.xw, -c[4+a0.x].wzyx, r0.xy, r0
m4x4 oPos, v0, c0
mov oFog, r1.w
mov oPts, c[a0.x]
