vs.1.1
dp4 oPos.x, v0, c0
dp4 oPos.y, v0, c1
dp4 oPos.z, v0, c2
dp4 oPos.w, v0, c3
dp3 r0.x, v9.xyz,  -c4
dp3 r0.y, v10.xyz,  -c4
dp3 r0.z, v11.xyz, -c4
dp3 r0.w, r0, r0
rsq r0.w, r0.w
mul r0, r0, r0.w
mad oD0, r0, c6.x, c6.x
mov oT0, v7
mov oT1, v8
mov oT2, v7
