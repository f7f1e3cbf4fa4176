#!/bin/sh
# Draws the access point shown at the top of the main window and turns it
# into the byte array the program decodes. Needs ImageMagick and xxd.
# The indicator sockets sit where TMainForm places its 13x9 indicators.
set -e
cd "$(dirname "$0")"
convert -size 360x170 gradient:'#2d3e50-#16202b' \
  -fill '#0c1118' -draw 'roundrectangle 48,142 312,150 4,4' \
  -fill '#4a5560' -draw 'roundrectangle 78,20 86,80 3,3' \
  -fill '#4a5560' -draw 'roundrectangle 274,20 282,80 3,3' \
  -fill '#d9dde2' -stroke '#8c949c' -strokewidth 2 \
  -draw 'roundrectangle 40,70 320,144 14,14' \
  -stroke none -fill '#eef1f4' -draw 'roundrectangle 46,74 314,100 10,10' \
  -fill '#1f2a36' -draw 'rectangle 146,114 226,130' \
  -fill '#3a4756' -draw 'rectangle 148,116 165,129' \
  -fill '#3a4756' -draw 'rectangle 178,116 195,129' \
  -fill '#3a4756' -draw 'rectangle 208,116 225,129' \
  -font DejaVu-Sans -fill '#5b6673' -pointsize 9 -draw 'text 146,141 "PWR"' \
  -draw 'text 177,141 "LAN"' -draw 'text 205,141 "WLAN"' \
  -fill '#2d3e50' -pointsize 16 -draw 'text 60,93 "LMR-7300AP"' \
  -fill '#7b8794' -pointsize 10 -draw 'text 232,92 "802.11g AP"' \
  -fill '#b8bec5' -draw 'rectangle 56,112 120,114' -draw 'rectangle 56,120 120,122' \
  -draw 'rectangle 56,128 120,130' \
  -strip -quality 85 -sampling-factor 4:2:0 device.jpg
xxd -i device.jpg | sed -e 's/unsigned char device_jpg/const unsigned char kDevicePictureJpeg/' \
  -e 's/unsigned int device_jpg_len/const unsigned int kDevicePictureJpegSize/' > DevicePictureData.inc
