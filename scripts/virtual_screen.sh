# Sourced by the screenshot scripts: starts Xvfb (800 × 600, 96 dpi) on the first free display
# from :90 on, waits until it answers and exports DISPLAY. Its process id is left in $xvfb_pid,
# for the caller's clean-up to stop it.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 800x600x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
export DISPLAY=":$display"
