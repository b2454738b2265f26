# Places in the main window's client area that a person clicks or looks at,
# from its form; sourced by the scripts that drive the program.

# The middle of 超级按钮_3D and of 超级按钮_免费云播.
category_3d=(116 404)
cloud_player_button=(116 476)
# Inside the first row of 超级列表框1, below its header.
first_movie_row=(392 118)
# 标签1 and 标签2, the loading indicator, inside the banner.
indicator_area=160x26+286+48
# The middle of the player window's 超级按钮_播放.
play_button=(688 176)
